-- The search index: trigram lists of every keyword, so that a search for a text of three or more
-- characters reads only the rows holding all of its trigrams before LIKE decides on each. It is
-- part of the template, and the program adds it (this same file) to a history made before it.
--
-- External content: the index keeps no copy of the keywords, only which row holds which trigram
-- (detail=none, no sizes), and the triggers below keep it in step inside the very statement
-- that inserts or deletes a row. Letters are folded for the index only; LIKE has the last word.
CREATE VIRTUAL TABLE pb_search USING fts5(
    keyword, content='pb_items', content_rowid='rowid',
    tokenize='trigram', detail=none, columnsize=0);

-- Rows whose rowid is at most up_to are not in the index yet: a history that gains the index
-- has them added in the background, newest first, in small transactions, each lowering up_to.
-- 0 when the index holds every row.
CREATE TABLE pb_search_backlog (up_to INTEGER NOT NULL);
INSERT INTO pb_search_backlog SELECT coalesce(max(rowid), 0) FROM pb_items;

CREATE TRIGGER pb_search_insert AFTER INSERT ON pb_items
WHEN new.rowid > (SELECT up_to FROM pb_search_backlog)
BEGIN
    INSERT INTO pb_search (rowid, keyword) VALUES (new.rowid, new.keyword);
END;

CREATE TRIGGER pb_search_delete AFTER DELETE ON pb_items
WHEN old.rowid > (SELECT up_to FROM pb_search_backlog)
BEGIN
    INSERT INTO pb_search (pb_search, rowid, keyword) VALUES ('delete', old.rowid, old.keyword);
END;

CREATE TRIGGER pb_search_update AFTER UPDATE OF keyword ON pb_items
WHEN old.rowid > (SELECT up_to FROM pb_search_backlog)
BEGIN
    INSERT INTO pb_search (pb_search, rowid, keyword) VALUES ('delete', old.rowid, old.keyword);
    INSERT INTO pb_search (rowid, keyword) VALUES (new.rowid, new.keyword);
END;
