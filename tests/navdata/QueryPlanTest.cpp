#include "navdata/NavTestFixture.h"
#include "navdata/TerminalQueries.h"
#include "platform/db/Database.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tavi {
namespace {

using platform::db::Connection;
using platform::db::Param;
using platform::db::RecordSet;

// The steps of the plan SQLite makes for a query on the file; the plan does not depend on the
// parameters' values, so each is bound as NULL.
std::vector<std::string> planOf(const Connection& connection, std::string_view sql) {
    const auto count = static_cast<std::size_t>(std::count(sql.begin(), sql.end(), '?'));
    const std::vector<Param> params(count, Param::nullText(0));
    std::vector<std::string> steps;
    for (RecordSet rows = connection.execute("EXPLAIN QUERY PLAN " + std::string(sql), params);
         !rows.eof(); rows.moveNext()) {
        steps.push_back(rows.field("detail").toText());
    }
    return steps;
}

// A step that reads a whole table (or a whole index) instead of looking rows up.
bool readsWholeTable(const std::string& step) {
    return step.starts_with("SCAN ") && step != "SCAN CONSTANT ROW";
}

using QueryPlanTest = test::NavDatabaseFixture;

TEST_F(QueryPlanTest, EveryProcedureQueryLooksItsRowsUpThroughAnIndex) {
    connectToFixture();
    Connection connection;
    connection.open(databaseFile());
    for (const std::string_view sql : terminal_queries::kAll) {
        const std::vector<std::string> steps = planOf(connection, sql);
        ASSERT_FALSE(steps.empty()) << sql;
        for (const std::string& step : steps) {
            EXPECT_FALSE(readsWholeTable(step)) << step << "\n in " << sql;
        }
    }
}

} // namespace
} // namespace tavi
