// Build-time tool: dbtemplate SCHEMA.sql OUTPUT.sqlite3
// Makes a fresh SQLite database at OUTPUT by running the statements of SCHEMA.sql.

#include <cstdio>
#include <fstream>
#include <sqlite3.h>
#include <sstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SCHEMA.sql OUTPUT.sqlite3\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    std::stringstream schema;
    schema << in.rdbuf();
    std::remove(argv[2]);

    sqlite3* db = nullptr;
    const bool opened = sqlite3_open(argv[2], &db) == SQLITE_OK;
    char* error = nullptr;
    const bool built =
        opened && sqlite3_exec(db, schema.str().c_str(), nullptr, nullptr, &error) == SQLITE_OK;
    if (!built)
        std::fprintf(stderr, "%s: %s\n", argv[0], error ? error : sqlite3_errmsg(db));
    sqlite3_free(error);
    sqlite3_close(db);
    if (!built)
        std::remove(argv[2]);
    return built ? 0 : 1;
}
