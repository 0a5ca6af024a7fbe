-- The template history database. The program never creates tables: a new db.sqlite3 is always a
-- copy of the database built from this file at build time.
--
-- uuid is unique: an insert of a known item fails, and every per-row statement finds its row
-- through the index. date is REAL so it sorts numerically, and indexed for the newest-first
-- load and search over a million rows. marked holds 0 or 1.
PRAGMA user_version = 1;

CREATE TABLE pb_items (
    uuid TEXT NOT NULL UNIQUE,
    date REAL,
    title TEXT,
    type INTEGER,
    pb_type TEXT,
    data TEXT,
    app TEXT,
    marked INTEGER,
    keyword TEXT
);

CREATE INDEX pb_items_date ON pb_items (date);
-- What the load of every row reads, and only that (see DBManager); partial on a condition that
-- only the load and the per-uuid statements state, so no statement ordered by date takes it.
CREATE INDEX pb_items_listed ON pb_items (date, type, marked, uuid) WHERE uuid IS NOT NULL;
