// Build-time tool: dbtemplate OUTPUT.sqlite3 SCHEMA.sql...
// Makes a fresh SQLite database at OUTPUT by running the statements of each SCHEMA.sql in turn.
//
// The database is built under a name of its own and renamed into place: a parallel build may
// run this twice for the same OUTPUT (several targets consume it), and neither run may see the
// other's half-written file.

#include <cstdio>
#include <fstream>
#include <sqlite3.h>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {
bool build(const std::string& schema, const std::string& path)
{
    sqlite3* db = nullptr;
    const bool opened = sqlite3_open(path.c_str(), &db) == SQLITE_OK;
    char* error = nullptr;
    const bool built =
        opened && sqlite3_exec(db, schema.c_str(), nullptr, nullptr, &error) == SQLITE_OK;
    if (!built)
        std::fprintf(stderr, "dbtemplate: %s\n", error ? error : sqlite3_errmsg(db));
    sqlite3_free(error);
    return sqlite3_close(db) == SQLITE_OK && built;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT.sqlite3 SCHEMA.sql...\n", argv[0]);
        return 2;
    }
    std::stringstream schema;
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i]);
        if (!in) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[i]);
            return 1;
        }
        schema << in.rdbuf() << '\n';
    }

    const std::string partial = std::string(argv[1]) + "." + std::to_string(getpid());
    std::remove(partial.c_str());
    if (!build(schema.str(), partial) || std::rename(partial.c_str(), argv[1]) != 0) {
        std::remove(partial.c_str());
        return 1;
    }
    return 0;
}
