#include "support/TestRecording.h"

#include "server/recording/RecordingSchema.h"

#include <sqlite3.h>

#include <memory>

namespace vexa::test {

namespace {

struct CloseDatabase {
    void operator()(sqlite3* database) const { sqlite3_close_v2(database); }
};
struct Finalize {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

}  // namespace

std::string WriteRecording(const std::string& path, const std::vector<std::string>& names,
                           const std::vector<RecordedRow>& rows)
{
    sqlite3* opened = nullptr;
    const int status = sqlite3_open(path.c_str(), &opened);
    std::unique_ptr<sqlite3, CloseDatabase> database(opened);
    const auto failure = [&] { return std::string(sqlite3_errmsg(database.get())); };
    if (status != SQLITE_OK)
        return failure();
    const std::string setUp = std::string("PRAGMA journal_mode=WAL;") + server::recording::kSchema
                              + "BEGIN;"
                                "INSERT INTO info VALUES('format', '1'), ('started', '2025-12-09T09:00:00.000Z'),"
                                " ('program', 'vexalink test'), ('mode', 'inputs'), ('part', '1');";
    if (sqlite3_exec(database.get(), setUp.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        return failure();

    const auto prepare = [&](const char* sql) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(database.get(), sql, -1, &statement, nullptr);
        return std::unique_ptr<sqlite3_stmt, Finalize>(statement);
    };
    const auto name = prepare("INSERT INTO names(id, name) VALUES(?1, ?2)");
    const auto sample = prepare("INSERT INTO samples(time, name_id, value, source_time) VALUES(?1, ?2, ?3, ?4)");
    if (name == nullptr || sample == nullptr)
        return failure();
    for (std::size_t i = 0; i < names.size(); ++i) {
        sqlite3_reset(name.get());
        sqlite3_bind_int64(name.get(), 1, sqlite3_int64(i + 1));
        sqlite3_bind_text(name.get(), 2, names[i].c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(name.get()) != SQLITE_DONE)
            return failure();
    }
    for (const RecordedRow& row : rows) {
        sqlite3_reset(sample.get());
        sqlite3_bind_double(sample.get(), 1, row.time);
        sqlite3_bind_int64(sample.get(), 2, row.name + 1);
        if (row.value.has_value())
            sqlite3_bind_double(sample.get(), 3, *row.value);
        else
            sqlite3_bind_null(sample.get(), 3);
        if (row.sourceTime.has_value())
            sqlite3_bind_double(sample.get(), 4, *row.sourceTime);
        else
            sqlite3_bind_null(sample.get(), 4);
        if (sqlite3_step(sample.get()) != SQLITE_DONE)
            return failure();
    }
    if (sqlite3_exec(database.get(), "COMMIT;", nullptr, nullptr, nullptr) != SQLITE_OK)
        return failure();
    return {};
}

}  // namespace vexa::test
