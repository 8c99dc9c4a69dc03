#include "platform/db/Database.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <sqlite3.h>
#include <system_error>

namespace tavi::platform::db {

namespace {

constexpr char kEngineSource[] = "SQLite";
constexpr char kLayerSource[] = "Database";

[[noreturn]] void throwEngineError(sqlite3* database) {
    throw DbError(kEngineSource, sqlite3_errmsg(database),
                  static_cast<uint32_t>(sqlite3_extended_errcode(database)));
}

[[noreturn]] void throwLayerError(std::string description, int code) {
    throw DbError(kLayerSource, std::move(description), static_cast<uint32_t>(code));
}

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// Whether a lower-cased name is the name asked for, whatever the case of its ASCII letters.
bool equalsLowerCase(std::string_view lower, std::string_view name) {
    return lower.size() == name.size() &&
           std::equal(lower.begin(), lower.end(), name.begin(), [](char l, char n) {
               return l == (n >= 'A' && n <= 'Z' ? static_cast<char>(n - 'A' + 'a') : n);
           });
}

std::string_view trimmed(std::string_view text) {
    const auto isBlank = [](char c) {
        return std::isspace(static_cast<unsigned char>(c)) != 0;
    };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

double numberFromText(const std::string& text) {
    const std::string_view digits = trimmed(text);
    double number = 0.0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, number);
    if (digits.empty() || error != std::errc() || stop != end) {
        throwLayerError("the text '" + text + "' is not a number", SQLITE_MISMATCH);
    }
    return number;
}

[[noreturn]] void throwNull() {
    throwLayerError("the value is NULL", SQLITE_MISMATCH);
}

[[noreturn]] void throwOutOfRange() {
    throwLayerError("the value is out of range", SQLITE_MISMATCH);
}

int32_t int32FromDouble(double number) {
    const double rounded = std::nearbyint(number);
    if (!(rounded >= std::numeric_limits<int32_t>::min() &&
          rounded <= std::numeric_limits<int32_t>::max())) {
        throwOutOfRange();
    }
    return static_cast<int32_t>(rounded);
}

// Binds the parameters to the statement's markers in order, one for each.
void bindParams(sqlite3* database, sqlite3_stmt* statement, std::span<const Param> params) {
    const int markers = sqlite3_bind_parameter_count(statement);
    if (static_cast<std::size_t>(markers) != params.size()) {
        throwLayerError("the command has " + std::to_string(markers) + " parameters, " +
                            std::to_string(params.size()) + " given",
                        SQLITE_RANGE);
    }
    int index = 1;
    for (const Param& param : params) {
        int result = SQLITE_OK;
        const auto& value = param.value();
        if (const auto* number = std::get_if<int32_t>(&value)) {
            result = sqlite3_bind_int(statement, index, *number);
        } else if (const auto* number = std::get_if<double>(&value)) {
            result = sqlite3_bind_double(statement, index, *number);
        } else if (const auto* text = std::get_if<std::string>(&value)) {
            result = sqlite3_bind_text(statement, index, text->data(),
                                       static_cast<int>(text->size()), SQLITE_TRANSIENT);
        } else {
            result = sqlite3_bind_null(statement, index);
        }
        if (result != SQLITE_OK) {
            throwEngineError(database);
        }
        ++index;
    }
}

} // namespace

DbError::DbError(std::string source, std::string description, uint32_t code)
    : source_(std::move(source)), description_(std::move(description)), code_(code) {}

Param::Param(Type type, int32_t size, std::variant<std::monostate, int32_t, double, std::string> v)
    : type_(type), size_(size), value_(std::move(v)) {}

Param Param::integer(int32_t value) {
    return Param(Type::Integer, 0, value);
}

Param Param::real(double value) {
    return Param(Type::Double, 0, value);
}

Param Param::text(std::string_view value, int32_t size) {
    return Param(Type::VarChar, size, std::string(value));
}

Param Param::nullText(int32_t size) {
    return Param(Type::VarChar, size, std::monostate{});
}

bool Value::isInt32() const {
    const auto* number = std::get_if<int64_t>(&data_);
    return number && *number >= std::numeric_limits<int32_t>::min() &&
           *number <= std::numeric_limits<int32_t>::max();
}

std::string Value::toText() const {
    if (const auto* text = std::get_if<std::string>(&data_)) {
        return *text;
    }
    if (const auto* number = std::get_if<int64_t>(&data_)) {
        return std::to_string(*number);
    }
    if (const auto* number = std::get_if<double>(&data_)) {
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, *number);
        return std::string(buffer, result.ptr);
    }
    throwNull();
}

int32_t Value::toInt32() const {
    if (const auto* number = std::get_if<int64_t>(&data_)) {
        if (!isInt32()) {
            throwOutOfRange();
        }
        return static_cast<int32_t>(*number);
    }
    return int32FromDouble(toDouble());
}

double Value::toDouble() const {
    if (const auto* number = std::get_if<double>(&data_)) {
        return *number;
    }
    if (const auto* number = std::get_if<int64_t>(&data_)) {
        return static_cast<double>(*number);
    }
    if (const auto* text = std::get_if<std::string>(&data_)) {
        return numberFromText(*text);
    }
    throwNull();
}

float Value::toFloat() const {
    const double number = toDouble();
    if (!(std::fabs(number) <= std::numeric_limits<float>::max())) {
        throwOutOfRange();
    }
    return static_cast<float>(number);
}

bool Value::toBool() const {
    if (const auto* text = std::get_if<std::string>(&data_)) {
        const std::string word = lowerCase(trimmed(*text));
        if (word == "true" || word == "yes") {
            return true;
        }
        if (word == "false" || word == "no") {
            return false;
        }
    }
    return toDouble() != 0.0;
}

RecordSet::RecordSet(sqlite3* database, sqlite3_stmt* statement)
    : database(database), statement(statement) {
    const int count = sqlite3_column_count(statement);
    for (int column = 0; column < count; ++column) {
        columns.push_back(lowerCase(sqlite3_column_name(statement, column)));
    }
}

RecordSet::RecordSet(RecordSet&& other) noexcept
    : database(other.database), statement(other.statement), atEnd(other.atEnd),
      columns(std::move(other.columns)) {
    other.statement = nullptr;
}

RecordSet::~RecordSet() {
    sqlite3_finalize(statement);
}

void RecordSet::step() {
    const int result = sqlite3_step(statement);
    if (result == SQLITE_ROW) {
        atEnd = false;
    } else if (result == SQLITE_DONE) {
        atEnd = true;
    } else {
        throwEngineError(database);
    }
}

void RecordSet::moveNext() {
    if (atEnd) {
        throwLayerError("there is no current row", SQLITE_MISUSE);
    }
    step();
}

Value RecordSet::field(std::string_view name) const {
    if (atEnd) {
        throwLayerError("there is no current row", SQLITE_MISUSE);
    }
    const auto found = std::find_if(columns.begin(), columns.end(), [&](const std::string& lower) {
        return equalsLowerCase(lower, name);
    });
    if (found == columns.end()) {
        throwLayerError("no column named " + std::string(name), SQLITE_RANGE);
    }
    const int column = static_cast<int>(found - columns.begin());
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return Value(static_cast<int64_t>(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT:
        return Value(sqlite3_column_double(statement, column));
    case SQLITE_NULL:
        return Value(std::monostate{});
    default: {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
        const int size = sqlite3_column_bytes(statement, column);
        return Value(std::string(bytes ? bytes : "", static_cast<std::size_t>(size)));
    }
    }
}

Connection::~Connection() {
    close();
}

void Connection::open(const std::filesystem::path& path) {
    close();
    // Only a regular file is opened: a FIFO in its place would block the caller for good.
    std::error_code typeError;
    const std::filesystem::file_status status = std::filesystem::status(path, typeError);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        throwLayerError("not a regular file: " + path.string(), SQLITE_CANTOPEN);
    }
    sqlite3* opened = nullptr;
    const int result = sqlite3_open_v2(path.c_str(), &opened, SQLITE_OPEN_READONLY, nullptr);
    if (opened) {
        sqlite3_extended_result_codes(opened, 1);
    }
    // The file is read lazily: reading the schema tells a database from any other file.
    if (result != SQLITE_OK ||
        sqlite3_exec(opened, "PRAGMA schema_version", nullptr, nullptr, nullptr) != SQLITE_OK) {
        DbError error(kEngineSource, opened ? sqlite3_errmsg(opened) : "out of memory",
                      static_cast<uint32_t>(opened ? sqlite3_extended_errcode(opened) : result));
        sqlite3_close(opened);
        throw error;
    }
    database = opened;
}

void Connection::close() {
    sqlite3_close(database);
    database = nullptr;
}

RecordSet Connection::execute(std::string_view sql, std::initializer_list<Param> params) const {
    return execute(sql, std::span<const Param>(params.begin(), params.size()));
}

RecordSet Connection::execute(std::string_view sql, std::span<const Param> params) const {
    if (!database) {
        throwLayerError("the database is not open", SQLITE_MISUSE);
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(database, sql.data(), static_cast<int>(sql.size()), &statement,
                           nullptr) != SQLITE_OK) {
        throwEngineError(database);
    }
    if (!statement) {
        throwLayerError("the command text holds no statement", SQLITE_MISUSE);
    }
    RecordSet records(database, statement);
    bindParams(database, statement, params);
    records.step();
    return records;
}

DatabaseBuilder::Statement::Statement(sqlite3* database, sqlite3_stmt* statement)
    : database(database), statement(statement) {}

DatabaseBuilder::Statement::~Statement() {
    sqlite3_finalize(statement);
}

void DatabaseBuilder::Statement::run(std::initializer_list<Param> params) {
    sqlite3_reset(statement);
    bindParams(database, statement, std::span<const Param>(params.begin(), params.size()));
    int result = sqlite3_step(statement);
    while (result == SQLITE_ROW) {
        result = sqlite3_step(statement);
    }
    if (result != SQLITE_DONE) {
        throwEngineError(database);
    }
}

DatabaseBuilder::DatabaseBuilder(std::filesystem::path target)
    : path(std::move(target)), building(path) {
    building += ".building";
    std::error_code ignored;
    std::filesystem::remove(building, ignored);
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), ignored);
    }
    const int opened = sqlite3_open_v2(building.c_str(), &database,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (opened != SQLITE_OK) {
        DbError error(kEngineSource, database ? sqlite3_errmsg(database) : "out of memory",
                      static_cast<uint32_t>(opened));
        discard();
        throw error;
    }
    sqlite3_extended_result_codes(database, 1);
    // The file is discarded when the build fails, so it needs no journal.
    run("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;");
}

DatabaseBuilder::~DatabaseBuilder() {
    discard();
}

void DatabaseBuilder::discard() {
    statements.clear();
    if (database) {
        sqlite3_close(database);
        database = nullptr;
        std::error_code ignored;
        std::filesystem::remove(building, ignored);
    }
}

void DatabaseBuilder::run(std::string_view script) {
    if (!database) {
        throwLayerError("the database is not being built", SQLITE_MISUSE);
    }
    const std::string text(script);
    char* message = nullptr;
    if (sqlite3_exec(database, text.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        DbError error(kEngineSource, message ? message : sqlite3_errmsg(database),
                      static_cast<uint32_t>(sqlite3_extended_errcode(database)));
        sqlite3_free(message);
        throw error;
    }
}

DatabaseBuilder::Statement& DatabaseBuilder::prepare(std::string_view sql) {
    if (!database) {
        throwLayerError("the database is not being built", SQLITE_MISUSE);
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(database, sql.data(), static_cast<int>(sql.size()), &statement,
                           nullptr) != SQLITE_OK) {
        throwEngineError(database);
    }
    if (!statement) {
        throwLayerError("the command text holds no statement", SQLITE_MISUSE);
    }
    statements.push_back(std::unique_ptr<Statement>(new Statement(database, statement)));
    return *statements.back();
}

void DatabaseBuilder::finish() {
    if (!database) {
        throwLayerError("the database is not being built", SQLITE_MISUSE);
    }
    statements.clear();
    // The statistics let the query planner pick the right index for each join on a large file.
    run("ANALYZE;");
    const int closed = sqlite3_close(database);
    database = nullptr;
    std::error_code error;
    if (closed == SQLITE_OK) {
        std::filesystem::rename(building, path, error);
    }
    if (closed != SQLITE_OK || error) {
        std::filesystem::remove(building, error);
        throwLayerError("the database file could not be written", SQLITE_IOERR);
    }
}

void createDatabase(const std::filesystem::path& path, std::string_view script) {
    DatabaseBuilder builder(path);
    builder.run(script);
    builder.finish();
}

} // namespace tavi::platform::db
