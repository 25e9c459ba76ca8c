#include "csv_commands.h"

#include "csv_stream.h"
#include "key_report.h"
#include "safe_text.h"

#include "curp/check.h"
#include "curp/person.h"
#include "curp/states.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <map>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace curp::cli {
namespace {

constexpr std::size_t kProgressEvery = 100'000;
constexpr std::size_t kHeaderLines = 20;  // the lines the header is looked for in
constexpr std::size_t kHeaderShown = 120; // characters of a refused header shown
constexpr std::size_t kReasonsListed = 8; // reasons the summary lists one by one

// The names a column is also known by in the sheets people keep, as
// ComparedName reads them: "FECHA NAC." is "fecha nac", "Sexo (H/M)" is "sexo".
struct Aliases {
    std::string_view column;
    // cppcheck-suppress unusedStructMember ; read in Names
    std::array<std::string_view, 10> also;
};
constexpr std::array<Aliases, 6> kAliases = {{
    {"paterno",
     {"apellido paterno", "primer apellido", "ap. paterno", "apellido 1", "1er apellido",
      "1er. apellido"}},
    {"materno",
     {"apellido materno", "segundo apellido", "ap. materno", "apellido 2", "2do apellido",
      "2do. apellido"}},
    {"nombre", {"nombres"}},
    {"nacimiento",
     {"fecha de nacimiento", "fecha nacimiento", "f. nacimiento", "fecha nac", "fecha de nac",
      "f. nac", "f. de nac"}},
    {"sexo", {"genero"}},
    {"entidad",
     {"entidad federativa", "entidad de nacimiento", "estado", "estado de nacimiento",
      "lugar de nacimiento", "entidad de nac", "estado de nac", "lugar de nac"}},
}};

// A header name as names are compared: upper case, without accents, without
// a part in brackets that follows the name ("Nombre(s)", "Sexo (H/M)"), and
// without the blanks (any white space), dots, brackets, underscores and
// hyphens that people put between or around the words.
std::string ComparedName(std::string_view utf8)
{
    std::string name = FoldForSearch(utf8);
    if (const std::size_t open = name.find_first_of("([");
        open != std::string::npos && name.find_first_not_of(" \t._-", 0) < open) {
        name.erase(open);
    }
    std::erase_if(name, [](char c) {
        return std::string_view(" \t._-()[]{}").find(c) != std::string_view::npos;
    });
    return name;
}

// The aliases of `column`, or an empty list.
std::span<const std::string_view> AliasesOf(std::string_view column)
{
    const auto* aliases = std::find_if(kAliases.begin(), kAliases.end(),
                                       [column](const Aliases& a) { return a.column == column; });
    if (aliases == kAliases.end()) {
        return {};
    }
    const auto end = std::find(aliases->also.begin(), aliases->also.end(), std::string_view{});
    return {aliases->also.begin(), end};
}

// Whether a header field (as ComparedName gives it) names `column`.
bool Names(std::string_view compared, std::string_view column)
{
    if (compared == ComparedName(column)) {
        return true;
    }
    const auto also = AliasesOf(column);
    return std::any_of(also.begin(), also.end(),
                       [compared](std::string_view a) { return compared == ComparedName(a); });
}

// A file's name made safe to show, a long one shortened in its middle, so
// that the folder it starts with and the file's own name stay.
std::string ShortPath(std::string_view path)
{
    constexpr std::size_t kLongest = 60;
    constexpr std::size_t kHead = 20;
    std::string shown = SafeToShow(path, std::string::npos);
    std::vector<std::size_t> starts; // of each character
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if ((static_cast<unsigned char>(shown[i]) & 0xC0U) != 0x80U) {
            starts.push_back(i);
        }
    }
    if (starts.size() <= kLongest) {
        return shown;
    }
    return shown.substr(0, starts[kHead]) + "…" +
           shown.substr(starts[starts.size() - (kLongest - kHead - 1)]);
}

std::string AsUtf8(std::string_view bytes, Encoding encoding)
{
    if (encoding == Encoding::Utf8) {
        return std::string(bytes);
    }
    std::string text;
    AppendWindows1252AsUtf8(bytes, text);
    return text;
}

// What a file that is no CSV text at all seems to be, from its first bytes
// and its first line; empty for text.
std::string_view KindOfFile(std::string_view start, std::string_view firstLine)
{
    if (start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF") ||
        (start.size() >= 2 && (start[0] == '\0') != (start[1] == '\0'))) {
        return "el archivo está en UTF-16: guárdelo como CSV en UTF-8 o en Windows-1252";
    }
    constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kMagic = {{
        {"\x89PNG", "el archivo es una imagen PNG, no un CSV"},
        {"\xFF\xD8\xFF", "el archivo es una imagen JPEG, no un CSV"},
        {"%PDF", "el archivo es un PDF, no un CSV"},
        {"PK\x03\x04", "el archivo es un ZIP, como las hojas .xlsx y .ods: ábralo en la hoja de "
                       "cálculo y guárdelo como CSV"},
        {"\xD0\xCF\x11\xE0", "el archivo es una hoja .xls: ábralo en la hoja de cálculo y "
                             "guárdelo como CSV"},
        {std::string_view("\0", 1), "el archivo no es texto: tiene bytes nulos"},
    }};
    for (const auto& [magic, kind] : kMagic) {
        if (start.starts_with(magic)) {
            return kind;
        }
    }
    return firstLine.find('\0') != std::string_view::npos
               ? "el archivo no es texto: tiene bytes nulos"
               : std::string_view{};
}

std::string Counted(std::size_t count, std::string_view one, std::string_view many)
{
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// The tally of a run, told on standard error at its end.
struct Summary {
    std::size_t rows = 0;                        // rows read below the header, empty lines aside
    std::size_t results = 0;                     // keys written (calcula) or valid keys (valida)
    std::map<std::string, std::size_t> refused;  // rows without result, by reason
    std::map<std::string, std::size_t> warnings; // rows with a result and a warning, by kind
    std::string dateOrder;      // how the dates of the file were read, when the file decided it
    std::size_t shortYears = 0; // rows whose year of birth had two digits
    std::size_t blankRows = 0;  // rows of empty cells, copied and not counted in `rows`
};

// A command over a table. The first pass over the file finds its header and
// the input columns in it (by name, in any order, by their usual aliases);
// the second writes the header with the result columns, then each row with
// its results. Input fields are written back unchanged and in place, in the
// file's own encoding and separator; a result column that the header
// already has (the output of an earlier run read again) is filled in place,
// any other is added after the last column.
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
        CsvInput input(run_.in, run_.choices);
        Look look(*this);
        if (const CsvError error = input.Scan(look); !error.message.empty() || Interrupted()) {
            if (Interrupted()) {
                Report("salida incompleta: 0 filas escritas; interrumpido al leer la entrada");
                return kInterrupted;
            }
            Report(error.message, error.line);
            return kUsageError;
        }
        layout_ = input.layout();
        if (!headerFound_) {
            RefuseHeader();
            return kUsageError;
        }
        NoteEncoding();
        if (headerLine_ != firstLine_) {
            Report("encabezado en la línea " + std::to_string(headerLine_) +
                   "; las líneas de encima se copian tal cual");
        }
        PreScanned(summary_);
        writer_.Use(layout_.separator, layout_.encoding);
        const CsvError error = input.Read(*this);
        ClearProgress();
        if (!writer_.Flush() || Interrupted()) {
            // What was written stops at the end of a row, or where the
            // output refused more: said, so that nobody takes it for all.
            const std::size_t written =
                writer_.RowsWritten() > rowsAboveData_ ? writer_.RowsWritten() - rowsAboveData_ : 0;
            Report("salida incompleta: " + Counted(written, "fila escrita", "filas escritas") +
                   " de " + std::to_string(rowsBelowHeader_) +
                   (Interrupted() ? std::string("; interrumpido")
                                  : std::string("; no se pudo escribir la salida: ") +
                                        std::strerror(writer_.error())));
            return Interrupted() ? kInterrupted : kUsageError;
        }
        if (!error.message.empty()) {
            Report(error.message, error.line);
            return kUsageError;
        }
        Summarize();
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
        // Stop at once: on Ctrl+C, and at the first write that failed.
        if (Interrupted() || writer_.failed()) {
            return false;
        }
        if (row.fields.empty()) {
            writer_.EndRow(); // an empty line stays an empty line
            return true;
        }
        if (!headerWritten_) {
            if (row.line < headerLine_) {
                CopyRow(row); // a title above the header
            } else {
                WriteHeader(row.fields);
            }
            return true;
        }
        if (std::all_of(row.fields.begin(), row.fields.end(),
                        [](std::string_view field) { return field.empty(); })) {
            // A row of empty cells, as a sheet saves a blank row: copied with
            // nothing to compute.
            for (std::string& result : results_) {
                result.clear();
            }
            WriteRow(row);
            ++summary_.blankRows;
            return true;
        }
        ++summary_.rows;
        for (std::size_t i = 0; i < inputNames_.size(); ++i) {
            const std::size_t column = inputColumn_[i];
            const std::string_view field =
                column < row.fields.size() ? row.fields[column] : std::string_view{};
            if (layout_.encoding == Encoding::Utf8) {
                inputs_[i] = field;
            } else {
                decoded_[i].clear();
                AppendWindows1252AsUtf8(field, decoded_[i]);
                inputs_[i] = decoded_[i];
            }
        }
        std::string_view problem;
        if (row.fields.size() > width_ &&
            std::any_of(row.fields.begin() + static_cast<std::ptrdiff_t>(width_), row.fields.end(),
                        [](std::string_view field) { return !field.empty(); })) {
            widthProblem_ = "la fila tiene " + std::to_string(row.fields.size()) +
                            " campos y el encabezado " + std::to_string(width_);
            problem = widthProblem_;
            RowProblem(problem, results_);
            ++summary_.refused["la fila tiene más campos que el encabezado"];
        } else {
            problem = Compute(inputs_, results_);
            CountReasons(summary_);
        }
        WriteRow(row);
        if (!problem.empty()) {
            ++failedRows_;
            Report(std::string(FailurePrefix()) + std::string(problem), row.line);
        } else {
            ++summary_.results;
        }
        if (run_.progress && ++progressRows_ % kProgressEvery == 0) {
            std::fprintf(run_.err, "\rcurp: %zu filas", progressRows_);
            progressShown_ = true;
        }
        return true;
    }

protected:
    // The result columns, once the header is known (HasInput tells which
    // optional inputs it has).
    virtual std::vector<std::string_view> ResultNames() const = 0;
    // Fills the results of one row from its inputs (UTF-8, in the order of
    // the names given to the constructor); returns why the row failed, every
    // reason joined by "; ", or "".
    virtual std::string_view Compute(std::span<const std::string_view> inputs,
                                     std::vector<std::string>& results) = 0;
    // Fills the results of a row that cannot be taken as it is.
    virtual void RowProblem(std::string_view problem, std::vector<std::string>& results) = 0;
    // Counts the reasons the row just computed gave no result for, and its
    // warnings.
    virtual void CountReasons(Summary& summary) const = 0;
    // The column an input is read from when the header has none by its name.
    virtual std::string_view OtherName(std::size_t /*input*/) const
    {
        return {};
    }
    // What a failed row's message starts with, before its reasons.
    virtual std::string_view FailurePrefix() const
    {
        return {};
    }
    // The words of the summary: what a result is ("clave escrita"), and
    // what a row without one is ("fila sin clave"), each singular and plural.
    virtual std::array<std::string_view, 4> SummaryWords() const = 0;

    // Whether the first pass reads every row (for PreScan) or stops after
    // the header.
    virtual bool WantsPreScan() const
    {
        return false;
    }
    // Sees the inputs of each row in the first pass, before anything is
    // written: the place for what must be decided from a whole column,
    // such as the order of day and month in the file's dates. The inputs
    // are the bytes as read (the encoding is known only at the end of the
    // pass; digits and separators read the same in either encoding).
    virtual void PreScan(std::span<const std::string_view> /*inputs*/, std::size_t /*line*/) {}
    // Called once the first pass is over, before anything is written.
    virtual void PreScanned(Summary& /*summary*/) {}

    bool Interrupted() const noexcept
    {
        return run_.interrupted != nullptr && *run_.interrupted != 0;
    }

    bool HasInput(std::size_t input) const
    {
        return inputColumn_[input] != kNoColumn;
    }

    // Says `message` on standard error, with the file's name and the line.
    void Report(const std::string& message, std::size_t line = 0)
    {
        ClearProgress();
        std::string where = ShortPath(run_.name);
        if (line > 0) {
            where.push_back(':');
            where.append(std::to_string(line));
        }
        std::fprintf(run_.err, "curp: %s: %.*s\n", where.c_str(), static_cast<int>(message.size()),
                     message.data());
    }

private:
    static constexpr std::size_t kNoColumn = static_cast<std::size_t>(-1);

    // The first pass: finds the header, and feeds PreScan.
    class Look : public CsvSink
    {
    public:
        explicit Look(TableCommand& command)
            : command_(command)
        {}
        void Begin(bool /*byteOrderMark*/, bool /*crlf*/) override {}
        bool Row(const CsvRow& row) override
        {
            if (command_.Interrupted()) {
                return false;
            }
            if (row.fields.empty()) {
                command_.rowsBelowHeader_ += command_.headerFound_ ? 1 : 0;
                return true;
            }
            return command_.LookAt(row);
        }

    private:
        TableCommand& command_;
    };

    // The header is the first of the first lines that names every column
    // needed; titles and blank lines above it are copied as they are.
    bool LookAt(const CsvRow& row)
    {
        if (!headerFound_) {
            if (!headerSeen_) {
                firstLine_ = row.line;
            }
            headerSeen_ = true;
            HeaderTry tried;
            if (FindColumns(row.fields, tried)) {
                headerFound_ = true;
                headerLine_ = row.line;
                return true;
            }
            // The refusal told is that of the line that comes nearest.
            if (refusal_.error.empty() || tried.matched > refusal_.matched) {
                refusal_ = std::move(tried);
                refusal_.line = row.line;
                refusal_.fields.assign(row.fields.begin(), row.fields.end());
            }
            return row.line < kHeaderLines;
        }
        ++rowsBelowHeader_;
        if (WantsPreScan()) {
            for (std::size_t i = 0; i < inputNames_.size(); ++i) {
                const std::size_t column = inputColumn_[i];
                inputs_[i] = column < row.fields.size() ? row.fields[column] : std::string_view{};
            }
            PreScan(inputs_, row.line);
        }
        return true;
    }

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

    // A header row that was not taken, and why.
    struct HeaderTry {
        std::string error;
        std::vector<std::string> notes; // said after it: what each missing column may be called
        std::size_t matched = 0;        // inputs found in it
        std::size_t line = 0;
        std::vector<std::string> fields;
    };

    // Finds the input and result columns in a header row; false, with the
    // reason in `tried`, when it lacks a column or has one twice.
    bool FindColumns(std::span<const std::string_view> fields, HeaderTry& tried)
    {
        std::string& error = tried.error;
        // The header's own bytes say how it is written, unless the person
        // said so: valid UTF-8 is UTF-8, anything else Windows-1252.
        EncodingDetector detector;
        for (const std::string_view field : fields) {
            detector.Feed(field);
            detector.Feed(",");
        }
        detector.Finish();
        const Encoding encoding = run_.choices.encoding.value_or(detector.Verdict());
        std::vector<std::string> shown;
        std::vector<std::string> names;
        for (const std::string_view field : fields) {
            shown.push_back(AsUtf8(field, encoding));
            names.push_back(ComparedName(shown.back()));
        }
        const auto find = [&](std::string_view wanted, std::size_t& column) {
            column = kNoColumn;
            for (std::size_t i = 0; i < names.size(); ++i) {
                if (!Names(names[i], wanted)) {
                    continue;
                }
                if (column != kNoColumn) {
                    error = "la columna «" + std::string(wanted) +
                            "» aparece dos veces en el encabezado (como «" +
                            SafeToShow(shown[column]) + "» y «" + SafeToShow(shown[i]) + "»)";
                    return false;
                }
                column = i;
            }
            return true;
        };
        width_ = fields.size();
        inputColumn_.assign(inputNames_.size(), kNoColumn);
        std::string missing;
        std::vector<bool> used(fields.size(), false);
        for (std::size_t i = 0; i < inputNames_.size(); ++i) {
            if (!find(inputNames_[i], inputColumn_[i])) {
                return false;
            }
            if (const std::string_view other = OtherName(i);
                inputColumn_[i] == kNoColumn && !other.empty() && !find(other, inputColumn_[i])) {
                return false;
            }
            if (inputColumn_[i] != kNoColumn) {
                used[inputColumn_[i]] = true;
                ++tried.matched;
            } else if (i < required_) {
                missing += (missing.empty() ? "" : ", ") + std::string(inputNames_[i]);
                std::string accepted = "«" + std::string(inputNames_[i]) + "»";
                for (const std::string_view alias : AliasesOf(inputNames_[i])) {
                    accepted += ", «" + std::string(alias) + "»";
                }
                tried.notes.push_back(std::string(inputNames_[i]) + " puede llamarse " + accepted +
                                      " (sin importar mayúsculas, acentos, puntos ni espacios)");
            }
        }
        if (!missing.empty()) {
            error = "faltan columnas en el encabezado: " + missing + " (se esperan " +
                    ExpectedColumns() + ")";
            std::string unmatched;
            for (std::size_t i = 0; i < fields.size(); ++i) {
                if (!used[i] && !names[i].empty()) {
                    unmatched += (unmatched.empty() ? "«" : ", «") + SafeToShow(shown[i]) + "»";
                }
            }
            if (!unmatched.empty()) {
                tried.notes.insert(tried.notes.begin(),
                                   "columnas del encabezado que no se reconocen: " + unmatched);
            }
            return false;
        }
        inputs_.assign(inputNames_.size(), {});
        decoded_.assign(inputNames_.size(), {});

        // Where each result goes: a column of the same name, or a new one.
        const auto resultNames = ResultNames();
        resultAt_.assign(width_, kNoColumn);
        added_.clear();
        for (std::size_t r = 0; r < resultNames.size(); ++r) {
            std::size_t column = kNoColumn;
            if (!find(resultNames[r], column)) {
                return false;
            }
            if (column != kNoColumn) {
                resultAt_[column] = r;
            } else {
                resultAt_.push_back(r);
                added_.push_back(resultNames[r]);
            }
        }
        results_.assign(resultNames.size(), {});
        return true;
    }

    void WriteHeader(std::span<const std::string_view> fields)
    {
        for (const std::string_view field : fields) {
            writer_.Field(field);
        }
        for (const std::string_view name : added_) {
            writer_.Field(name);
        }
        writer_.EndRow();
        headerWritten_ = true;
        rowsAboveData_ = writer_.RowsEnded();
    }

    void CopyRow(const CsvRow& row)
    {
        for (std::size_t column = 0; column < row.fields.size(); ++column) {
            if (column < row.quoted.size() && row.quoted[column] == 0) {
                writer_.Plain(row.fields[column]);
            } else {
                writer_.Field(row.fields[column]);
            }
        }
        writer_.EndRow();
    }

    void WriteRow(const CsvRow& row)
    {
        const auto field = [this, &row](std::size_t column) {
            if (column >= row.fields.size()) {
                writer_.Plain({});
            } else if (column < row.quoted.size() && row.quoted[column] == 0) {
                writer_.Plain(row.fields[column]);
            } else {
                writer_.Field(row.fields[column]);
            }
        };
        for (std::size_t column = 0; column < resultAt_.size(); ++column) {
            if (resultAt_[column] != kNoColumn) {
                writer_.Text(results_[resultAt_[column]]);
            } else {
                field(column);
            }
        }
        // Fields beyond the header's columns stay after the result columns.
        for (std::size_t column = width_; column < row.fields.size(); ++column) {
            field(column);
        }
        writer_.EndRow();
    }

    // Says why the header was not taken, with what was found and what may
    // help: the kind of file it really is, a title row above the header, or
    // the separator the header seems to use.
    void RefuseHeader()
    {
        if (const std::string_view kind = KindOfFile(layout_.start, layout_.firstLine);
            !kind.empty()) {
            Report(std::string(kind));
            return;
        }
        if (!headerSeen_) {
            if (!layout_.scanError.message.empty()) {
                Report(layout_.scanError.message, layout_.scanError.line);
            } else if (layout_.start.empty()) {
                Report("el archivo está vacío");
            } else {
                Report("no hay fila de encabezado; se espera una con las columnas " +
                       ExpectedColumns());
            }
            return;
        }
        Report(refusal_.error);
        std::string_view line = layout_.firstLine;
        if (line.starts_with("\xEF\xBB\xBF")) {
            line.remove_prefix(3);
        }
        std::string header;
        if (refusal_.line == firstLine_) {
            header = AsUtf8(line, layout_.encoding);
        } else {
            for (const std::string& field : refusal_.fields) {
                header += (header.empty() ? "" : std::string(1, layout_.separator)) +
                          AsUtf8(field, layout_.encoding);
            }
        }
        // Tabs shown as a sign, which the terminal would otherwise turn into blanks.
        std::string found;
        for (const char c : header) {
            found += c == '\t' ? std::string_view("\u2409") : std::string_view(&c, 1);
        }
        Report("encabezado leído" +
               (refusal_.line == firstLine_ ? std::string()
                                            : " (línea " + std::to_string(refusal_.line) + ")") +
               ": «" + SafeToShow(found, kHeaderShown) + "»");
        for (const std::string& note : refusal_.notes) {
            Report(note);
        }
        for (const auto& [separator, hint] :
             {std::pair{';', "«;»: si separa las columnas, use --separador ';'"},
              std::pair{'\t', "tabuladores: si separan las columnas, use --separador tab"},
              std::pair{',', "comas: si separan las columnas, use --separador ,"}}) {
            if (separator != layout_.separator && line.find(separator) != std::string_view::npos) {
                Report(std::string("el encabezado lleva ") + hint);
                return;
            }
        }
    }

    void NoteEncoding()
    {
        if (!layout_.encodingDetected || layout_.encoding != Encoding::Windows1252) {
            return;
        }
        Report("el archivo no es UTF-8 (línea " + std::to_string(layout_.notUtf8Line) + ": «" +
               SafeToShow(AsUtf8(layout_.notUtf8Context, Encoding::Windows1252)) +
               "»): se lee como Windows-1252, y la salida va en Windows-1252; «--codificacion "
               "utf-8» lo leería como UTF-8");
    }

    void Summarize()
    {
        const auto words = SummaryWords();
        const std::size_t failed = summary_.rows - summary_.results;
        Report("resumen: " + Counted(summary_.rows, "fila leída", "filas leídas") + ", " +
               Counted(summary_.results, words[0], words[1]) + ", " +
               Counted(failed, words[2], words[3]));
        const auto list = [this](const std::map<std::string, std::size_t>& counts,
                                 std::string_view one, std::string_view many) {
            std::vector<std::pair<std::size_t, std::string_view>> sorted;
            sorted.reserve(counts.size());
            for (const auto& [kind, count] : counts) {
                sorted.emplace_back(count, kind);
            }
            std::stable_sort(sorted.begin(), sorted.end(),
                             [](const auto& a, const auto& b) { return a.first > b.first; });
            for (std::size_t i = 0; i < sorted.size() && i < kReasonsListed; ++i) {
                std::fprintf(run_.err, "  %s: %.*s\n", Counted(sorted[i].first, one, many).c_str(),
                             static_cast<int>(sorted[i].second.size()), sorted[i].second.data());
            }
            if (sorted.size() > kReasonsListed) {
                std::fprintf(run_.err, "  y %zu motivos más\n", sorted.size() - kReasonsListed);
            }
        };
        list(summary_.refused, "fila", "filas");
        list(summary_.warnings, "aviso", "avisos");
        if (!summary_.dateOrder.empty()) {
            std::fprintf(run_.err, "  fechas leídas como %s\n", summary_.dateOrder.c_str());
        }
        if (summary_.blankRows > 0) {
            std::fprintf(run_.err, "  %s, copiadas sin calcular\n",
                         Counted(summary_.blankRows, "fila en blanco", "filas en blanco").c_str());
        }
        if (summary_.shortYears > 0) {
            std::fprintf(run_.err,
                         "  %s con el año en dos cifras, leído como el último año con esas "
                         "cifras que no pasa de hoy\n",
                         Counted(summary_.shortYears, "fecha", "fechas").c_str());
        }
        const char* separator = layout_.separator == ';'    ? "punto y coma"
                                : layout_.separator == '\t' ? "tabulador"
                                                            : "coma";
        std::fprintf(run_.err, "  leído como %.*s%s, separado por %s\n",
                     static_cast<int>(NameOf(layout_.encoding).size()),
                     NameOf(layout_.encoding).data(),
                     layout_.encodingDetected ? "" : " (--codificacion)", separator);
    }

    void ClearProgress()
    {
        if (progressShown_) {
            std::fputs("\r\x1B[K", run_.err);
            progressShown_ = false;
        }
    }

    const CsvRun& run_;
    CsvWriter writer_;
    std::vector<std::string_view> inputNames_;
    std::size_t required_;
    CsvLayout layout_;
    bool headerSeen_ = false;  // the first pass met the first row
    bool headerFound_ = false; // ... and a row that names the input columns
    bool headerWritten_ = false;
    std::size_t headerLine_ = 0;
    std::size_t firstLine_ = 0;            // of the first row that is not empty
    HeaderTry refusal_;                    // the nearest to a header, when none was found
    std::size_t rowsBelowHeader_ = 0;      // counted by the first pass
    std::size_t rowsAboveData_ = 0;        // written up to the header, which it ends
    std::size_t width_ = 0;                // fields of the header
    std::vector<std::size_t> inputColumn_; // column of each input, or kNoColumn
    std::vector<std::size_t> resultAt_;    // for each output column, its result or kNoColumn
    std::vector<std::string_view> added_;  // result columns the header lacks
    std::vector<std::string_view> inputs_; // the current row's inputs
    std::vector<std::string> decoded_;     // ... in UTF-8, when the file is not
    std::vector<std::string> results_;     // the current row's results
    std::string widthProblem_;
    std::size_t failedRows_ = 0;
    std::size_t progressRows_ = 0;
    bool progressShown_ = false;
    Summary summary_;
};

class Calcula final : public TableCommand
{
public:
    explicit Calcula(const CsvRun& run)
        : TableCommand(run,
                       {kFieldNames[0], kFieldNames[1], kFieldNames[2], kFieldNames[3],
                        kFieldNames[4], kFieldNames[5], "curp"},
                       kFieldCount)
        , forcedOrder_(run.dateOrder)
        , forcedSex_(run.sexLetters)
    {
        desk_.rules().order = run.dateOrder.value_or(DateOrder::DayMonthYear);
        desk_.rules().sexLetters = run.sexLetters.value_or(SexLetters::HM);
    }

private:
    enum Input : std::size_t { kPaterno, kMaterno, kNombre, kNacimiento, kSexo, kEntidad, kCurp };

    std::vector<std::string_view> ResultNames() const override
    {
        if (HasInput(kCurp)) {
            return {"curp_calculada", "coincide", "error", "aviso"};
        }
        return {"curp_calculada", "error", "aviso"};
    }

    std::array<std::string_view, 4> SummaryWords() const override
    {
        return {"clave escrita", "claves escritas", "fila sin clave", "filas sin clave"};
    }

    // The order of day and month is decided from the whole date column,
    // unless --fechas gave it, and the meaning of M from the whole sex
    // column, unless --sexo-hm or --sexo-mf gave it.
    bool WantsPreScan() const override
    {
        return !forcedOrder_ || !forcedSex_;
    }

    void PreScan(std::span<const std::string_view> in, std::size_t line) override
    {
        // INEGI's 01 to 09 without their zero: a sheet opened again without
        // its columns read as text, which drops every number's zeros.
        if (const std::string_view state = in[kEntidad];
            state.size() == 1 && state[0] >= '1' && state[0] <= '9' && zerosDropped_.line == 0) {
            zerosDropped_ = {line, std::string(state)};
        }
        if (!forcedSex_) {
            std::string_view sex = in[kSexo];
            if (sex.size() > 1) {
                sex.remove_prefix(std::min(sex.find_first_not_of(" \t"), sex.size()));
                sex.remove_suffix(sex.size() -
                                  std::min(sex.find_last_not_of(" \t") + 1, sex.size()));
            }
            for (auto& [letter, seen] : sexSeen_) {
                if (sex.size() == 1 && (sex[0] | 0x20) == (letter | 0x20) && seen.line == 0) {
                    seen = {line, std::string(sex)};
                }
            }
        }
        if (forcedOrder_) {
            return;
        }
        const DateFit fit = FitOf(in[kNacimiento], today_);
        for (const auto& [kind, seen] : {std::pair{DateFit::DayFirst, &dayFirst_},
                                         std::pair{DateFit::MonthFirst, &monthFirst_}}) {
            if (fit == kind && seen->line == 0) {
                *seen = {line, SafeToShow(in[kNacimiento])};
            }
        }
    }

    void PreScanned(Summary& summary) override
    {
        const auto example = [](const DateSeen& seen) {
            return "fila " + std::to_string(seen.line) + ": " + seen.text;
        };
        if (zerosDropped_.line != 0) {
            Report("la columna entidad tiene números del INEGI sin su cero (" +
                   example(zerosDropped_) +
                   "): la hoja se abrió sin leer sus columnas como texto, y otros números "
                   "(expedientes, códigos postales) pueden haber perdido sus ceros; "
                   "docs/oficina.md dice cómo abrirla");
        }
        const auto& [h, m, f] = sexSeen_;
        if (m.second.line != 0 && f.second.line != 0) {
            if (h.second.line == 0) {
                desk_.rules().sexLetters = SexLetters::FM;
                Report("sexo leído como F/M: M es masculino (" + example(m.second) +
                       "); --sexo-hm lo lee como H/M");
            } else {
                desk_.rules().sexLetters = SexLetters::Mixed;
                Report("la columna sexo tiene H (" + example(h.second) + "), M (" +
                       example(m.second) + ") y F (" + example(f.second) +
                       "): M puede ser mujer o masculino, y esas filas quedan sin clave; "
                       "--sexo-hm o --sexo-mf elige");
            }
        }
        if (monthFirst_.line != 0 && dayFirst_.line == 0) {
            desk_.rules().order = DateOrder::MonthDayYear;
            summary.dateOrder = "MM/DD/AAAA";
            Report("fechas leídas como MM/DD/AAAA (" + example(monthFirst_) + ")");
        } else if (monthFirst_.line != 0) {
            desk_.rules().eitherDateOrder = true;
            summary.dateOrder = "DD/MM/AAAA y MM/DD/AAAA, cada una en el orden que admite";
            Report("la columna nacimiento tiene fechas DD/MM/AAAA (" + example(dayFirst_) +
                   ") y MM/DD/AAAA (" + example(monthFirst_) +
                   "): cada fecha se lee en el orden que admite, y las que admiten los dos quedan "
                   "sin clave; --fechas dma o --fechas mda elige el orden");
        }
    }

    std::string_view Compute(std::span<const std::string_view> in,
                             std::vector<std::string>& results) override
    {
        desk_.Answer(
            {in[kPaterno], in[kMaterno], in[kNombre], in[kNacimiento], in[kSexo], in[kEntidad]},
            answer_);
        error_.clear();
        for (const FieldProblem& problem : answer_.problems) {
            error_.append(error_.empty() ? "" : "; ").append(Reason(problem, true));
        }
        std::string& aviso = results.back();
        aviso.clear();
        for (const KeyDoubt& doubt : answer_.doubts) {
            aviso.append(aviso.empty() ? "" : "; ").append(Describe(doubt));
        }
        results.front() = answer_.key;
        results[results.size() - 2] = error_;
        if (HasInput(kCurp)) {
            results[1] = Matches(in[kCurp]);
        }
        return error_;
    }

    // Why the row gives no key, with what the row holds or, for the
    // summary, without it.
    std::string Reason(const FieldProblem& problem, bool withData) const
    {
        std::string reason = Describe(problem, answer_, withData);
        if (problem.problem == Problem::AmbiguousDate) {
            reason += ": la columna tiene fechas DD/MM/AAAA y MM/DD/AAAA (--fechas elige)";
        }
        return reason;
    }

    void CountReasons(Summary& summary) const override
    {
        for (const FieldProblem& problem : answer_.problems) {
            ++summary.refused[Reason(problem, false)];
        }
        if (!answer_.key.empty()) {
            // Each kind of doubt once a row.
            for (std::size_t i = 0; i < answer_.doubts.size(); ++i) {
                const Doubt kind = answer_.doubts[i].doubt;
                if (std::none_of(answer_.doubts.begin(),
                                 answer_.doubts.begin() + static_cast<std::ptrdiff_t>(i),
                                 [kind](const KeyDoubt& d) { return d.doubt == kind; })) {
                    ++summary.warnings[std::string(KindOf(kind))];
                }
            }
            summary.shortYears += answer_.birth.shortYear ? 1 : 0;
        }
    }

    void RowProblem(std::string_view problem, std::vector<std::string>& results) override
    {
        for (std::string& result : results) {
            result.clear();
        }
        results[results.size() - 2] = problem;
    }

    // "si" when the given key's first 16 characters are the computed key's
    // (17 and 18 are the registry's), "no" when not, "" without both keys.
    std::string Matches(std::string_view given) const
    {
        const std::string key = NormalizeKey(given);
        if (answer_.key.empty() || key.empty()) {
            return {};
        }
        constexpr std::size_t kCompared = 16;
        const auto mine = FirstCodePoints(answer_.key, kCompared);
        const auto theirs = FirstCodePoints(key, kCompared);
        return mine && theirs && *mine == *theirs ? "si" : "no";
    }

    // The first `count` code points of UTF-8 text, or nullopt when it is shorter.
    static std::optional<std::string_view> FirstCodePoints(std::string_view text, std::size_t count)
    {
        for (std::size_t i = 0; i < text.size(); ++i) {
            if ((static_cast<unsigned char>(text[i]) & 0xC0U) != 0x80U && count-- == 0) {
                return text.substr(0, i);
            }
        }
        return count == 0 ? std::optional(text) : std::nullopt;
    }

    // The first row whose date fits only one order of day and month.
    struct DateSeen {
        std::size_t line = 0;
        std::string text;
    };

    std::optional<DateOrder> forcedOrder_;
    std::optional<SexLetters> forcedSex_;
    // The first row with each of the letters H, M and F alone.
    std::array<std::pair<char, DateSeen>, 3> sexSeen_{{{'H', {}}, {'M', {}}, {'F', {}}}};
    DateSeen dayFirst_;
    DateSeen monthFirst_;
    DateSeen zerosDropped_; // the first state written as one digit
    std::chrono::year_month_day today_ = Today();
    RequestDesk desk_{{.today = today_}};
    PersonAnswer answer_;
    std::string error_;
};

class Valida final : public TableCommand
{
public:
    explicit Valida(const CsvRun& run)
        : TableCommand(run, {run.column.empty() ? std::string_view("curp") : run.column}, 1)
        , chosen_(!run.column.empty())
    {}

private:
    // The keys `calcula --csv` wrote, checked when the file has no curp.
    std::string_view OtherName(std::size_t /*input*/) const override
    {
        return chosen_ ? std::string_view() : std::string_view("curp_calculada");
    }

    std::vector<std::string_view> ResultNames() const override
    {
        return {"valida", "problemas"};
    }

    std::array<std::string_view, 4> SummaryWords() const override
    {
        return {"clave válida", "claves válidas", "no válida", "no válidas"};
    }

    std::string_view FailurePrefix() const override
    {
        return "clave no válida: ";
    }

    std::string_view Compute(std::span<const std::string_view> in,
                             std::vector<std::string>& results) override
    {
        findings_ = CheckKey(in.front(), today_);
        std::string& problems = results[1];
        problems.clear();
        for (const KeyFinding& finding : findings_) {
            problems.append(problems.empty() ? "" : "; ").append(Describe(finding));
        }
        results[0] = problems.empty() ? "si" : "no";
        return problems;
    }

    void CountReasons(Summary& summary) const override
    {
        for (const KeyFinding& finding : findings_) {
            ++summary.refused[Describe(finding, false)];
        }
    }

    void RowProblem(std::string_view problem, std::vector<std::string>& results) override
    {
        results[0] = "no";
        results[1] = problem;
    }

    bool chosen_; // the column was named with --columna
    std::chrono::year_month_day today_ = Today();
    std::vector<KeyFinding> findings_;
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
    CsvCopy copy(run.out);
    const CsvError error = ReadCsv(run.in, copy);
    return copy.Flush() && error.message.empty() ? kAllRows : kUsageError;
}

} // namespace curp::cli
