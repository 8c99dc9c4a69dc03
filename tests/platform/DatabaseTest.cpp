#include "platform/db/Database.h"

#include "support/TempFolder.h"

#include <fstream>
#include <gtest/gtest.h>

namespace tavi::platform::db {
namespace {

constexpr char kScript[] = R"(
CREATE TABLE Stations (ID INTEGER PRIMARY KEY, Ident TEXT COLLATE NOCASE, Freq INTEGER,
                       Course REAL, Label TEXT, Flag INTEGER);
INSERT INTO Stations VALUES (1, 'ABC', 0x01163000, 90.5, '12', 1);
INSERT INTO Stations VALUES (2, 'abd', NULL, NULL, 'twelve', 0);
INSERT INTO Stations VALUES (3, 'XYZ', 5000000000, 1e300, ' 7.5 ', -1);
)";

class DatabaseTest : public testing::Test {
protected:
    void SetUp() override {
        path = folder.path() / "test.sqlite";
        createDatabase(path, kScript);
        connection.open(path);
    }

    test::TempFolder folder;
    std::filesystem::path path;
    Connection connection;
};

TEST_F(DatabaseTest, RowsAreWalkedInOrderWithPositionalParameters) {
    RecordSet rows = connection.execute(
        "SELECT ID, Ident FROM Stations WHERE ID >= ? AND Course < ? ORDER BY ID",
        {Param::integer(1), Param::real(1000.0)});
    ASSERT_FALSE(rows.eof());
    EXPECT_EQ(rows.field("ID").toInt32(), 1);
    rows.moveNext();
    EXPECT_TRUE(rows.eof());
    EXPECT_THROW(rows.moveNext(), DbError);
    EXPECT_THROW(rows.field("ID"), DbError);
}

TEST_F(DatabaseTest, TextParametersCompareWithoutCaseAndNullMatchesNothing) {
    RecordSet rows = connection.execute("SELECT ID FROM Stations WHERE Ident = ? ORDER BY ID",
                                        {Param::text("ABD", 5)});
    ASSERT_FALSE(rows.eof());
    EXPECT_EQ(rows.field("ID").toInt32(), 2);
    // The declared size is informative: the text is never cut to "ABC".
    EXPECT_TRUE(
        connection.execute("SELECT ID FROM Stations WHERE Ident = ?", {Param::text("ABCD", 3)})
            .eof());
    EXPECT_TRUE(connection
                    .execute("SELECT ID FROM Stations WHERE Label = ? OR Ident = ?",
                             {Param::nullText(4), Param::nullText(4)})
                    .eof());
}

TEST_F(DatabaseTest, ColumnsAreFoundByNameWithoutCase) {
    RecordSet rows = connection.execute("SELECT * FROM Stations WHERE ID = 1");
    EXPECT_EQ(rows.field("IDENT").toText(), "ABC");
    EXPECT_EQ(rows.field("ident").toText(), "ABC");
    EXPECT_EQ(rows.field("freq").toInt32(), 0x01163000);
    EXPECT_THROW(rows.field("Missing"), DbError);
}

TEST_F(DatabaseTest, NullIsToldApartAndFailsEveryConversion) {
    RecordSet rows = connection.execute("SELECT * FROM Stations WHERE ID = 2");
    const Value freq = rows.field("Freq");
    EXPECT_TRUE(freq.isNull());
    EXPECT_FALSE(freq.isInt32());
    EXPECT_THROW(freq.toInt32(), DbError);
    EXPECT_THROW(freq.toText(), DbError);
    EXPECT_THROW(freq.toDouble(), DbError);
    EXPECT_THROW(freq.toFloat(), DbError);
    EXPECT_THROW(freq.toBool(), DbError);
    EXPECT_FALSE(rows.field("Flag").isNull());
}

TEST_F(DatabaseTest, ConversionsBetweenStoredTypes) {
    RecordSet first = connection.execute("SELECT * FROM Stations WHERE ID = 1");
    EXPECT_TRUE(first.field("Freq").isInt32());
    EXPECT_EQ(first.field("Course").toDouble(), 90.5);
    EXPECT_EQ(first.field("Course").toFloat(), 90.5f);
    EXPECT_EQ(first.field("Course").toText(), "90.5");
    EXPECT_EQ(first.field("Freq").toText(), "18231296");
    EXPECT_EQ(first.field("Label").toInt32(), 12);
    EXPECT_TRUE(first.field("Flag").toBool());
    EXPECT_FALSE(first.field("Course").isInt32());

    RecordSet third = connection.execute("SELECT * FROM Stations WHERE ID = 3");
    EXPECT_FALSE(third.field("Freq").isInt32());
    EXPECT_THROW(third.field("Freq").toInt32(), DbError);
    EXPECT_EQ(third.field("Freq").toDouble(), 5000000000.0);
    EXPECT_THROW(third.field("Course").toFloat(), DbError);
    EXPECT_EQ(third.field("Label").toDouble(), 7.5);
    EXPECT_TRUE(third.field("Flag").toBool());

    RecordSet second = connection.execute("SELECT * FROM Stations WHERE ID = 2");
    EXPECT_THROW(second.field("Label").toDouble(), DbError);
    EXPECT_FALSE(second.field("Flag").toBool());
}

TEST_F(DatabaseTest, StatementErrorsAreThrownAndLeaveTheConnectionUsable) {
    try {
        connection.execute("SELECT TOP 10 Ident FROM Stations");
        FAIL() << "no error";
    } catch (const DbError& error) {
        EXPECT_EQ(error.source(), "SQLite");
        EXPECT_NE(error.description().find("syntax error"), std::string::npos);
        EXPECT_NE(error.code(), 0u);
    }
    EXPECT_THROW(connection.execute("SELECT * FROM Missing"), DbError);
    EXPECT_THROW(connection.execute("SELECT * FROM Stations WHERE ID = ?"), DbError);
    EXPECT_THROW(connection.execute("SELECT * FROM Stations", {Param::integer(1)}), DbError);
    EXPECT_THROW(connection.execute("INSERT INTO Stations (ID) VALUES (9)"), DbError);
    EXPECT_FALSE(connection.execute("SELECT Ident FROM Stations LIMIT 10").eof());
}

TEST_F(DatabaseTest, ClosedConnectionFailsEveryQuery) {
    connection.close();
    EXPECT_FALSE(connection.isOpen());
    EXPECT_THROW(connection.execute("SELECT 1"), DbError);
    EXPECT_THROW(Connection().execute("SELECT 1"), DbError);
}

TEST(DatabaseOpenTest, MissingFileFailsAtOpenAndIsNotCreated) {
    test::TempFolder folder;
    const std::filesystem::path path = folder.path() / "Nd" / "nd.sqlite";
    Connection connection;
    try {
        connection.open(path);
        FAIL() << "opened";
    } catch (const DbError& error) {
        EXPECT_EQ(error.source(), "SQLite");
        EXPECT_EQ(error.description(), "unable to open database file");
        EXPECT_EQ(error.code(), 14u);
    }
    EXPECT_FALSE(connection.isOpen());
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "Nd"));
}

TEST(DatabaseOpenTest, FileThatIsNotADatabaseFailsAtOpen) {
    test::TempFolder folder;
    const std::filesystem::path path = folder.path() / "nd.sqlite";
    std::ofstream(path) << std::string(4096, 'x');
    Connection connection;
    try {
        connection.open(path);
        FAIL() << "opened";
    } catch (const DbError& error) {
        EXPECT_EQ(error.description(), "file is not a database");
    }
    EXPECT_FALSE(connection.isOpen());
}

TEST(DatabaseCreateTest, FailingScriptLeavesTheOldFile) {
    test::TempFolder folder;
    const std::filesystem::path path = folder.path() / "nd.sqlite";
    createDatabase(path, "CREATE TABLE A (X INTEGER); INSERT INTO A VALUES (1);");
    EXPECT_THROW(createDatabase(path, "CREATE TABLE B (X INTEGER); NOT SQL;"), DbError);
    Connection connection;
    connection.open(path);
    EXPECT_EQ(connection.execute("SELECT X FROM A").field("X").toInt32(), 1);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "nd.sqlite.building"));
}

TEST(DatabaseCreateTest, BuilderInsertsRowsThroughPreparedStatements) {
    test::TempFolder folder;
    const std::filesystem::path path = folder.path() / "Nd" / "nd.sqlite";
    {
        DatabaseBuilder builder(path);
        builder.run("CREATE TABLE A (I INTEGER, D REAL, T TEXT); BEGIN;");
        DatabaseBuilder::Statement& insert = builder.prepare("INSERT INTO A VALUES (?, ?, ?)");
        insert.run({Param::integer(1), Param::real(2.5), Param::text("one", 3)});
        insert.run({Param::integer(2), Param::real(-1.0), Param::nullText(3)});
        EXPECT_THROW(insert.run({Param::integer(3)}), DbError);
        EXPECT_THROW(builder.prepare("INSERT INTO Missing VALUES (1)"), DbError);
        EXPECT_FALSE(std::filesystem::exists(path));
        builder.run("COMMIT;");
        builder.finish();
        EXPECT_THROW(builder.run("SELECT 1"), DbError);
    }
    Connection connection;
    connection.open(path);
    RecordSet rows = connection.execute("SELECT I, D, T FROM A ORDER BY I");
    EXPECT_EQ(rows.field("T").toText(), "one");
    rows.moveNext();
    EXPECT_EQ(rows.field("D").toDouble(), -1.0);
    EXPECT_TRUE(rows.field("T").isNull());
    rows.moveNext();
    EXPECT_TRUE(rows.eof());
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "Nd" / "nd.sqlite.building"));
}

TEST(DatabaseCreateTest, UnfinishedBuildLeavesNoFile) {
    test::TempFolder folder;
    const std::filesystem::path path = folder.path() / "nd.sqlite";
    {
        DatabaseBuilder builder(path);
        builder.run("CREATE TABLE A (X INTEGER);");
    }
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

} // namespace
} // namespace tavi::platform::db
