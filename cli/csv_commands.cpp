#include "csv_commands.h"

#include "csv_stream.h"
#include "key_report.h"
#include "person.h"

#include "curp/check.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

namespace curp::cli {
namespace {

constexpr std::size_t kProgressEvery = 100'000;

// A header field as a column name: blanks around removed, ASCII in lower case.
std::string ColumnName(std::string_view field)
{
    const auto first = field.find_first_not_of(" \t");
    field = first == std::string_view::npos
                ? std::string_view{}
                : field.substr(first, field.find_last_not_of(" \t") - first + 1);
    std::string name(field);
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return name;
}

// The first `count` code points of UTF-8 text, or nullopt when it is shorter.
std::optional<std::string_view> FirstCodePoints(std::string_view text, std::size_t count)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0U) != 0x80U && count-- == 0) {
            return text.substr(0, i);
        }
    }
    return count == 0 ? std::optional(text) : std::nullopt;
}

// A command over a table: finds its input columns by name in the header,
// writes the header with its result columns, then each row with its results.
// Input fields are written back unchanged and in place; a result column that
// the header already has (the output of an earlier run read again) is filled
// in place, any other is added after the last column.
class TableCommand : public CsvSink
{
public:
    TableCommand(const CsvRun& run, std::vector<std::string_view> inputs, std::size_t required)
        : run_(run)
        , writer_(run.out)
        , inputNames_(std::move(inputs))
        , required_(required)
    {}

    Status Run()
    {
        const CsvError error = ReadCsv(run_.in, *this);
        ClearProgress();
        if (!writer_.Flush()) {
            Report("no se pudo escribir la salida");
            return kUsageError;
        }
        if (!error.message.empty()) {
            Report(error.message, error.line);
            return kUsageError;
        }
        if (!headerRead_) {
            Report(headerError_.empty()
                       ? std::string("no hay fila de encabezado; se espera una con "
                                     "las columnas ") +
                             ExpectedColumns()
                       : headerError_);
            return kUsageError;
        }
        return failedRows_ == 0 ? kAllRows : kSomeRows;
    }

    void Begin(bool byteOrderMark, bool crlf) override
    {
        // The output keeps the mark (a spreadsheet reads the file as UTF-8
        // by it) and the line ends of the input.
        writer_.Begin(byteOrderMark, crlf);
    }

    bool Row(const CsvRow& row) override
    {
        if (row.fields.empty()) {
            writer_.EndRow(); // an empty line stays an empty line
            return true;
        }
        if (!headerRead_) {
            return ReadHeader(row.fields);
        }
        for (std::size_t i = 0; i < inputNames_.size(); ++i) {
            const std::size_t column = inputColumn_[i];
            inputs_[i] = column < row.fields.size() ? row.fields[column] : std::string_view{};
        }
        std::string_view problem;
        if (row.fields.size() > width_ &&
            std::any_of(row.fields.begin() + static_cast<std::ptrdiff_t>(width_), row.fields.end(),
                        [](std::string_view field) { return !field.empty(); })) {
            widthProblem_ = "la fila tiene " + std::to_string(row.fields.size()) +
                            " campos y el encabezado " + std::to_string(width_);
            problem = widthProblem_;
            RowProblem(problem, results_);
        } else {
            problem = Compute(inputs_, results_);
        }
        WriteRow(row.fields);
        if (!problem.empty()) {
            ++failedRows_;
            Report(problem, row.line);
        }
        if (run_.progress && ++rows_ % kProgressEvery == 0) {
            std::fprintf(run_.err, "\rcurp: %zu filas", rows_);
            progressShown_ = true;
        }
        return true;
    }

protected:
    // The result columns, once the header is known (HasInput tells which
    // optional inputs it has).
    virtual std::vector<std::string_view> ResultNames() const = 0;
    // Fills the results of one row from its inputs (in the order of the
    // names given to the constructor); returns why the row failed, or "".
    virtual std::string_view Compute(std::span<const std::string_view> inputs,
                                     std::vector<std::string>& results) = 0;
    // Fills the results of a row that cannot be taken as it is.
    virtual void RowProblem(std::string_view problem, std::vector<std::string>& results) = 0;

    bool HasInput(std::size_t input) const
    {
        return inputColumn_[input] != kNoColumn;
    }

private:
    static constexpr std::size_t kNoColumn = static_cast<std::size_t>(-1);

    std::string ExpectedColumns() const
    {
        std::string names;
        for (std::size_t i = 0; i < required_; ++i) {
            names += (i == 0               ? ""
                      : i + 1 == required_ ? " y "
                                           : ", ") +
                     std::string(inputNames_[i]);
        }
        return names;
    }

    bool ReadHeader(std::span<const std::string_view> fields)
    {
        width_ = fields.size();
        std::vector<std::string> names;
        names.reserve(fields.size());
        std::transform(fields.begin(), fields.end(), std::back_inserter(names), ColumnName);
        const auto twice = [&names, this](std::span<const std::string_view> wanted) {
            for (const std::string_view name : wanted) {
                if (std::count(names.begin(), names.end(), name) > 1) {
                    headerError_ =
                        "la columna «" + std::string(name) + "» aparece dos veces en el encabezado";
                    return true;
                }
            }
            return false;
        };
        if (twice(inputNames_)) {
            return false;
        }
        const auto find = [&names](std::string_view name) {
            const auto column = std::find(names.begin(), names.end(), name);
            return column == names.end() ? kNoColumn
                                         : static_cast<std::size_t>(column - names.begin());
        };
        inputColumn_.clear();
        std::string missing;
        for (std::size_t i = 0; i < inputNames_.size(); ++i) {
            inputColumn_.push_back(find(inputNames_[i]));
            if (i < required_ && inputColumn_.back() == kNoColumn) {
                missing += (missing.empty() ? "" : ", ") + std::string(inputNames_[i]);
            }
        }
        if (!missing.empty()) {
            headerError_ = "faltan columnas en el encabezado: " + missing + " (se esperan " +
                           ExpectedColumns() + ")";
            return false;
        }
        inputs_.assign(inputNames_.size(), {});

        // Where each result goes: a column of the same name, or a new one.
        const auto resultNames = ResultNames();
        if (twice(resultNames)) {
            return false;
        }
        resultAt_.assign(width_, kNoColumn);
        std::vector<std::string_view> added;
        for (std::size_t r = 0; r < resultNames.size(); ++r) {
            const std::size_t column = find(resultNames[r]);
            if (column != kNoColumn) {
                resultAt_[column] = r;
            } else {
                resultAt_.push_back(r);
                added.push_back(resultNames[r]);
            }
        }
        results_.assign(resultNames.size(), {});
        for (const std::string_view field : fields) {
            writer_.Field(field);
        }
        for (const std::string_view name : added) {
            writer_.Field(name);
        }
        writer_.EndRow();
        headerRead_ = true;
        return true;
    }

    void WriteRow(std::span<const std::string_view> fields)
    {
        for (std::size_t column = 0; column < resultAt_.size(); ++column) {
            if (resultAt_[column] != kNoColumn) {
                writer_.Field(results_[resultAt_[column]]);
            } else {
                writer_.Field(column < fields.size() ? fields[column] : std::string_view{});
            }
        }
        // Fields beyond the header's columns stay after the result columns.
        for (std::size_t column = width_; column < fields.size(); ++column) {
            writer_.Field(fields[column]);
        }
        writer_.EndRow();
    }

    void ClearProgress()
    {
        if (progressShown_) {
            std::fputs("\r\x1B[K", run_.err);
            progressShown_ = false;
        }
    }

    void Report(std::string_view message, std::size_t line = 0)
    {
        ClearProgress();
        std::string where = run_.name;
        if (line > 0) {
            where.push_back(':');
            where.append(std::to_string(line));
        }
        std::fprintf(run_.err, "curp: %s: %.*s\n", Shown(where).c_str(),
                     static_cast<int>(message.size()), message.data());
    }

    const CsvRun& run_;
    CsvWriter writer_;
    std::vector<std::string_view> inputNames_;
    std::size_t required_;
    bool headerRead_ = false;
    std::string headerError_;
    std::size_t width_ = 0;                // fields of the header
    std::vector<std::size_t> inputColumn_; // column of each input, or kNoColumn
    std::vector<std::size_t> resultAt_;    // for each output column, its result or kNoColumn
    std::vector<std::string_view> inputs_; // the current row's inputs
    std::vector<std::string> results_;     // the current row's results
    std::string widthProblem_;
    std::size_t failedRows_ = 0;
    std::size_t rows_ = 0;
    bool progressShown_ = false;
};

class Calcula final : public TableCommand
{
public:
    explicit Calcula(const CsvRun& run)
        : TableCommand(run,
                       {"paterno", "materno", "nombre", "nacimiento", "sexo", "entidad", "curp"}, 6)
    {}

private:
    enum Input : std::size_t { kPaterno, kMaterno, kNombre, kNacimiento, kSexo, kEntidad, kCurp };

    std::vector<std::string_view> ResultNames() const override
    {
        if (HasInput(kCurp)) {
            return {"curp_calculada", "coincide", "error"};
        }
        return {"curp_calculada", "error"};
    }

    std::string_view Compute(std::span<const std::string_view> in,
                             std::vector<std::string>& results) override
    {
        maker_.Compute(
            {in[kPaterno], in[kMaterno], in[kNombre], in[kNacimiento], in[kSexo], in[kEntidad]},
            Missing::Error, computed_);
        results.front() = computed_.key;
        results.back() = computed_.error;
        if (HasInput(kCurp)) {
            results[1] = Matches(in[kCurp]);
        }
        return computed_.error;
    }

    void RowProblem(std::string_view problem, std::vector<std::string>& results) override
    {
        for (std::string& result : results) {
            result.clear();
        }
        results.back() = problem;
    }

    // "si" when the given key's first 16 characters are the computed key's
    // (17 and 18 are the registry's), "no" when not, "" without both keys.
    std::string Matches(std::string_view given) const
    {
        const std::string key = NormalizeKey(given);
        if (computed_.key.empty() || key.empty()) {
            return {};
        }
        constexpr std::size_t kCompared = 16;
        const auto mine = FirstCodePoints(computed_.key, kCompared);
        const auto theirs = FirstCodePoints(key, kCompared);
        return mine && theirs && *mine == *theirs ? "si" : "no";
    }

    KeyMaker maker_;
    Computed computed_;
};

class Valida final : public TableCommand
{
public:
    explicit Valida(const CsvRun& run)
        : TableCommand(run, {"curp"}, 1)
    {}

private:
    std::vector<std::string_view> ResultNames() const override
    {
        return {"valida", "problemas"};
    }

    std::string_view Compute(std::span<const std::string_view> in,
                             std::vector<std::string>& results) override
    {
        problems_.clear();
        for (const KeyFinding& finding : CheckKey(in.front())) {
            problems_.push_back(Describe(finding));
        }
        results[0] = problems_.empty() ? "si" : "no";
        results[1] = JoinProblems(problems_);
        return problems_.empty() ? std::string_view{} : "clave no válida";
    }

    void RowProblem(std::string_view problem, std::vector<std::string>& results) override
    {
        results[0] = "no";
        results[1] = problem;
    }

    std::vector<std::string> problems_;
};

// Writes every row back as it came.
class Copy final : public CsvSink
{
public:
    explicit Copy(std::FILE* out)
        : writer_(out)
    {}

    void Begin(bool byteOrderMark, bool crlf) override
    {
        writer_.Begin(byteOrderMark, crlf);
    }

    bool Row(const CsvRow& row) override
    {
        for (const std::string_view field : row.fields) {
            writer_.Field(field);
        }
        writer_.EndRow();
        return true;
    }

    bool Flush()
    {
        return writer_.Flush();
    }

private:
    CsvWriter writer_;
};

} // namespace

Status CalculaCsv(const CsvRun& run)
{
    Calcula command(run);
    return command.Run();
}

Status ValidaCsv(const CsvRun& run)
{
    Valida command(run);
    return command.Run();
}

Status CopyCsv(const CsvRun& run)
{
    Copy copy(run.out);
    const CsvError error = ReadCsv(run.in, copy);
    return copy.Flush() && error.message.empty() ? kAllRows : kUsageError;
}

} // namespace curp::cli
