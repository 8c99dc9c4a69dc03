#pragma once

#include <cstdint>
#include <exception>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// Read access to a database file: fixed SQL texts with positional "?" parameters, rows walked
// in order, columns read by name without regard to case, NULL told apart. Every failure is a
// DbError thrown to the caller, which decides what to log and what to return.
namespace tavi::platform::db {

// A failed database operation: where it came from, what went wrong and the engine's code.
class DbError : public std::exception {
public:
    DbError(std::string source, std::string description, uint32_t code);

    const char* what() const noexcept override { return description_.c_str(); }
    const std::string& source() const { return source_; }
    const std::string& description() const { return description_; }
    uint32_t code() const { return code_; }

private:
    std::string source_;
    std::string description_;
    uint32_t code_;
};

// A positional parameter: a 32-bit integer, a double or a text. A text parameter has a declared
// size (the longest text the query passes); it is informative only and never cuts the text. A
// null text matches nothing in a comparison.
class Param {
public:
    enum class Type { Integer, Double, VarChar };

    static Param integer(int32_t value);
    static Param real(double value);
    static Param text(std::string_view value, int32_t size);
    static Param nullText(int32_t size);

    Type type() const { return type_; }
    int32_t size() const { return size_; }
    const std::variant<std::monostate, int32_t, double, std::string>& value() const {
        return value_;
    }

private:
    Param(Type type, int32_t size, std::variant<std::monostate, int32_t, double, std::string> v);

    Type type_;
    int32_t size_;
    std::variant<std::monostate, int32_t, double, std::string> value_;
};

// One column value of a row. The conversions throw DbError for NULL, for a text that is not a
// number where a number is asked for, and for a value out of the target's range. Texts convert
// to numbers in the C locale.
class Value {
public:
    using Data = std::variant<std::monostate, int64_t, double, std::string>;

    explicit Value(Data data) : data_(std::move(data)) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(data_); }
    // Held as an integer that fits in 32 bits.
    bool isInt32() const;

    std::string toText() const;
    int32_t toInt32() const;
    double toDouble() const;
    float toFloat() const;
    // Non-zero is true.
    bool toBool() const;

private:
    Data data_;
};

// The rows of an executed statement, walked forward once. The connection must outlive it.
class RecordSet {
public:
    RecordSet(RecordSet&& other) noexcept;
    RecordSet& operator=(RecordSet&&) = delete;
    RecordSet(const RecordSet&) = delete;
    ~RecordSet();

    bool eof() const { return atEnd; }
    void moveNext();
    // The current row's column by name, without regard to case; the first of equal names.
    Value field(std::string_view name) const;

private:
    friend class Connection;
    RecordSet(sqlite3* database, sqlite3_stmt* statement);
    void step();

    sqlite3* database;
    sqlite3_stmt* statement;
    bool atEnd = false;
    // Column names in column order, lower-cased.
    std::vector<std::string> columns;
};

// A database file opened for reading. A default-constructed connection is closed; every
// execute on a closed connection fails.
class Connection {
public:
    Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection();

    // Opens an existing database file read-only. A missing file, or one that is not a
    // database, fails here; nothing is ever created.
    void open(const std::filesystem::path& path);
    void close();
    bool isOpen() const { return database != nullptr; }

    RecordSet execute(std::string_view sql, std::initializer_list<Param> params = {}) const;
    RecordSet execute(std::string_view sql, std::span<const Param> params) const;

private:
    sqlite3* database = nullptr;
};

// Writes a new database file: scripts run in order, and rows go in through statements prepared
// once and run with fresh parameters. The file replaces any file of that name only when
// finish succeeds; a build that fails or is dropped unfinished leaves the old file as it was.
class DatabaseBuilder {
public:
    // A statement of the builder, run once per set of parameters.
    class Statement {
    public:
        Statement(const Statement&) = delete;
        Statement& operator=(const Statement&) = delete;
        ~Statement();

        void run(std::initializer_list<Param> params);

    private:
        friend class DatabaseBuilder;
        Statement(sqlite3* database, sqlite3_stmt* statement);

        sqlite3* database;
        sqlite3_stmt* statement;
    };

    explicit DatabaseBuilder(std::filesystem::path path);
    DatabaseBuilder(const DatabaseBuilder&) = delete;
    DatabaseBuilder& operator=(const DatabaseBuilder&) = delete;
    ~DatabaseBuilder();

    void run(std::string_view script);
    // The statement lives until finish or until the builder goes.
    Statement& prepare(std::string_view sql);
    void finish();

private:
    void discard();

    std::filesystem::path path;
    std::filesystem::path building;
    sqlite3* database = nullptr;
    std::vector<std::unique_ptr<Statement>> statements;
};

// Builds a new database file from an SQL script, replacing any file of that name once the
// script has run; a failing script leaves the old file as it was.
void createDatabase(const std::filesystem::path& path, std::string_view script);

} // namespace tavi::platform::db
