#include "commands.h"

#include "csv_commands.h"
#include "key_commands.h"
#include "key_report.h"
#include "safe_text.h"

#include "curp/calc_clave.h"
#include "curp/check.h"
#include "curp/person.h"
#include "curp/utf8.h"

#include <CLI/CLI.hpp>

#include <sys/stat.h>
#include <unistd.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#endif

#include <algorithm>
#include <array>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace curp::cli {
namespace {

constexpr const char* kMainHelp = R"(Uso: curp ORDEN [OPCIÓN]... [ARGUMENTO]...
Calcula, valida y lee claves CURP, de una en una o las de un archivo CSV.

Órdenes:
  calcula   calcula la clave de una persona, o la de cada fila de un CSV
  valida    dice si cada clave está bien formada y, si no, qué le falla
  lee       dice qué datos lleva cada clave: nacimiento, sexo y entidad

Opciones:
  -h, --help      muestra esta ayuda y termina
  -V, --version   muestra la versión y termina

«curp ORDEN --help» explica cada orden; «man curp» lo explica todo. «--»
termina las opciones: lo que sigue son argumentos.

Estado de salida: 0 cuando todo dio resultado (cada clave calculada o
válida), 1 cuando algo no, 2 cuando los argumentos, el archivo o la salida
no sirven.
)";

constexpr const char* kCalculaHelp =
    R"(Uso: curp calcula --paterno P [--materno M] --nombre N --nacimiento FECHA
                    [--sexo S] --entidad E [--guiones | --json]
  o: curp calcula --csv [ARCHIVO|-] [-o SALIDA] [--codificacion C]
                    [--separador S] [--fechas dma|mda|amd] [--sexo-mf|--sexo-hm]

Calcula la clave de una persona como la ventana de Llave: los nombres se
leen en mayúsculas y sin acentos, y la clave sale en una línea.

      --paterno TEXTO     apellido paterno (vacío si solo hay materno)
      --materno TEXTO     apellido materno (puede faltar)
      --nombre TEXTO      nombre o nombres
      --nacimiento FECHA  fecha de nacimiento: AAAA-MM-DD, DD/MM/AAAA, DD/MM/AA
                          (el último año con esas cifras que no pasa de hoy)
                          o «23 de abril de 1975»
      --sexo S            H (hombre; sin --sexo), M (mujer) o X (no binario);
                          también Hombre, Mujer, Masculino, Femenino o F
      --entidad E         entidad de nacimiento: su código (DF, NE) o su
                          nombre ("nuevo león", michoacan); sin ella no hay
                          clave completa, y no se escribe ninguna
      --guiones           la clave con los guiones de la ventana
      --json              un objeto JSON: clave, valida, problemas,
                          nacimiento, sexo, entidad, entidad_nombre
      --csv [ARCHIVO|-]   la clave de cada fila de un archivo CSV (la entrada
                          estándar con - o sin ARCHIVO); escribe cada fila tal
                          cual, más las columnas curp_calculada, coincide (si
                          hay una columna curp) y error
      --codificacion C    utf-8 o windows-1252: la del CSV, si no se quiere
                          que se averigüe; la salida va en la misma
      --separador S       , ; o tab: el del CSV, si no se quiere que se
                          averigüe por el encabezado; la salida lleva el mismo
      --fechas O          dma (día primero), mda (mes primero) o amd: el
                          orden de las fechas escritas con números, si no se
                          quiere que se averigüe por la columna nacimiento
  -o, --salida ARCHIVO    escribe el CSV en ARCHIVO, que solo se reemplaza
                          cuando lleva todas las filas (recomendado)
      --sexo-mf           la columna sexo con F (femenino) y M (masculino)
      --sexo-hm           la columna sexo con H (hombre) y M (mujer); sin
                          las dos, una columna con F y M y ninguna H se lee F/M
  -h, --help              muestra esta ayuda y termina

El CSV va en UTF-8 o en Windows-1252, separado por comas, punto y coma o
tabuladores; su encabezado nombra las columnas paterno, materno, nombre,
nacimiento, sexo y entidad, en cualquier orden, con mayúsculas o minúsculas,
acentos o no, y también como «Apellido paterno», «Primer apellido»,
«Nombre(s)», «Fecha de nacimiento», «FECHA NAC.», «Género» o «Entidad
federativa»; las filas de título encima del encabezado se copian tal cual.
Una fila sin clave lleva el motivo en la columna error, y su número de línea
sale por la salida de errores; al final sale allí un resumen. Una clave que
puede no ser la del registro (un nombre abreviado, como MA.) lleva el motivo
en la columna aviso. Guía para oficinas, de la hoja de cálculo a la hoja con
claves: docs/oficina.md.
)";

constexpr const char* kValidaHelp = R"(Uso: curp valida [--json] [CLAVE|-]...
  o: curp valida --csv [ARCHIVO|-] [-o SALIDA] [--columna NOMBRE]
                   [--codificacion C] [--separador S]

Dice de cada CLAVE si está bien formada y, si no, todos sus problemas. Sin
CLAVE, o con -, lee una clave por línea de la entrada estándar y da un
resultado por línea, también por las vacías. Las claves pueden ir en
minúsculas y con los guiones o espacios de la ventana.

      --json              un objeto JSON por clave (JSON Lines)
      --csv [ARCHIVO|-]   valida la columna curp de cada fila de un archivo
                          CSV (o curp_calculada, si no hay curp) y añade las
                          columnas valida (si o no) y problemas
      --columna NOMBRE    la columna de las claves, en lugar de curp
  -o, --salida ARCHIVO    como en «curp calcula --csv»
      --codificacion C    utf-8 o windows-1252, como en «curp calcula --csv»
      --separador S       , ; o tab, como en «curp calcula --csv»
  -h, --help              muestra esta ayuda y termina
)";

constexpr const char* kLeeHelp = R"(Uso: curp lee [--json] [CLAVE|-]...

Dice qué dice cada CLAVE: fecha de nacimiento, sexo, entidad (código y
nombre) y cualquier problema que tenga. Sin CLAVE, o con -, lee una clave por
línea de la entrada estándar.

      --json              un objeto JSON por clave (JSON Lines)
  -h, --help              muestra esta ayuda y termina
)";

// What an option given without its value holds: a byte no value typed on a
// command line starts with.
constexpr const char* kNoValue = "\x01";

// The help of each command, given by CLI11 when -h or --help comes anywhere.
class SpanishHelp : public CLI::FormatterBase
{
public:
    std::string make_help(const CLI::App* app, std::string /*name*/,
                          CLI::AppFormatMode /*mode*/) const override
    {
        const std::string& command = app->get_name();
        return command == "calcula"  ? kCalculaHelp
               : command == "valida" ? kValidaHelp
               : command == "lee"    ? kLeeHelp
                                     : kMainHelp;
    }
};

// What CLI11 reports about arguments it cannot take, in Spanish, by the kind
// of error (no option is left for it to find twice or without a value: those
// are told by Options::Check).
std::string Failure(const CLI::App* /*app*/, const CLI::Error& error)
{
    if (dynamic_cast<const CLI::ConversionError*>(&error) != nullptr ||
        dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
        return "curp: una opción lleva un valor que no admite\nPruebe «curp --help».\n";
    }
    return "curp: argumentos que no se entienden\nPruebe «curp --help».\n";
}

int UsageError(const std::string& message)
{
    std::fprintf(stderr, "curp: %s\nPruebe «curp --help».\n", message.c_str());
    return kUsageError;
}

void Print(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
}

// The options of every command. Each option with a value keeps every value
// given, so that one given twice is told rather than one of them dropped,
// and takes none that starts with "-", so that "-h" after it is still help.
struct Options {
    std::map<std::string, std::vector<std::string>> values;
    std::map<std::string, CLI::Option*> given;
    std::vector<std::string> keys;
    bool guiones = false;
    bool json = false;
    bool sexoMf = false;
    bool sexoHm = false;
    bool version = false;

    void Add(CLI::App& command, const std::string& name)
    {
        given[command.get_name() + name] =
            command.add_option(name, values[name])
                ->expected(0, 1)
                ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
                ->default_str(kNoValue)
                ->allow_extra_args(false);
    }

    // The value of an option, empty when it was not given.
    std::string Value(const std::string& name) const
    {
        const auto found = values.find(name);
        return found == values.end() || found->second.empty() || found->second[0] == kNoValue
                   ? std::string()
                   : found->second[0];
    }

    bool Given(const CLI::App& command, const std::string& name) const
    {
        const auto found = given.find(command.get_name() + name);
        return found != given.end() && found->second->count() > 0;
    }

    // A usage error for an option given twice, or without the value it
    // needs (--csv alone means standard input).
    std::optional<std::string> Check(const CLI::App& command) const
    {
        for (const auto& [key, option] : given) {
            if (!key.starts_with(command.get_name() + "--")) {
                continue;
            }
            const std::string name = key.substr(command.get_name().size());
            if (option->count() > 1) {
                return name + " se dio más de una vez";
            }
            const auto& list = values.at(name);
            if (option->count() == 1 && name != "--csv" && !list.empty() && list[0] == kNoValue) {
                return "a " + name + " le falta su valor";
            }
        }
        return std::nullopt;
    }
};

// The encoding and separator chosen with --codificacion and --separador.
std::optional<std::string> ReadChoices(const CLI::App& command, const Options& options,
                                       CsvChoices& choices)
{
    const std::string encoding = FoldForSearch(options.Value("--codificacion"));
    if (options.Given(command, "--codificacion")) {
        if (encoding == "UTF-8" || encoding == "UTF8") {
            choices.encoding = Encoding::Utf8;
        } else if (encoding == "WINDOWS-1252" || encoding == "CP1252" || encoding == "LATIN1") {
            choices.encoding = Encoding::Windows1252;
        } else {
            return "--codificacion: «" + SafeToShow(options.Value("--codificacion")) +
                   "» no es utf-8 ni windows-1252";
        }
    }
    const std::string separator = options.Value("--separador");
    if (options.Given(command, "--separador")) {
        if (separator == "," || separator == "coma") {
            choices.separator = ',';
        } else if (separator == ";" || separator == "punto y coma") {
            choices.separator = ';';
        } else if (separator == "tab" || separator == "\t" || separator == "tabulador") {
            choices.separator = '\t';
        } else {
            return "--separador: «" + SafeToShow(separator) + "» no es «,», «;» ni tab";
        }
    }
    return std::nullopt;
}

volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void OnInterrupt(int /*signal*/)
{
    gInterrupted = 1;
}

// The file a CSV command writes with --salida: a temporary file beside it,
// which takes its name only once every row is in it, so that a run that
// fails or is interrupted leaves the file that was there as it was. What is
// not a regular file (a device, a pipe) is written as it is: it cannot be
// replaced. A symbolic link is followed, and the file it names replaced.
class OutputFile
{
public:
    explicit OutputFile(std::string path)
        : path_(std::move(path))
    {
        struct stat status {};
        if (stat(path_.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
            file_ = std::fopen(path_.c_str(), "wb");
            direct_ = true;
            return;
        }
#ifdef _WIN32
        // Beside the file, under a name of its own; Windows has no
        // symbolic links a person makes by hand, nor mkstemp.
        temporary_ = path_ + ".curp-salida";
        file_ = std::fopen(temporary_.c_str(), "wb");
#else
        if (lstat(path_.c_str(), &status) == 0 && S_ISLNK(status.st_mode)) {
            if (char* real = realpath(path_.c_str(), nullptr)) {
                path_ = real;
                std::free(real); // NOLINT(cppcoreguidelines-no-malloc): realpath's buffer
            }
        }
        const std::size_t slash = path_.rfind('/');
        temporary_ = (slash == std::string::npos ? std::string(".") : path_.substr(0, slash)) +
                     "/.curp-salida-XXXXXX";
        const int fd = mkstemp(temporary_.data());
        if (fd >= 0) {
            file_ = fdopen(fd, "wb");
            if (file_ == nullptr) {
                close(fd);
                unlink(temporary_.c_str());
            }
        }
#endif
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    OutputFile(OutputFile&&) = delete;
    OutputFile& operator=(OutputFile&&) = delete;
    ~OutputFile()
    {
        if (file_ != nullptr) {
            std::fclose(file_);
            if (!direct_) {
                unlink(temporary_.c_str());
            }
        }
    }

    std::FILE* file() const noexcept
    {
        return file_;
    }

    // Gives the temporary file the name asked for, with the permissions
    // the file it replaces had (or those a new file gets); false, with
    // errno, when that cannot be done.
    bool Keep()
    {
        if (direct_) {
            std::FILE* written = std::exchange(file_, nullptr);
            const bool flushed = std::fflush(written) == 0;
            return std::fclose(written) == 0 && flushed;
        }
#ifdef _WIN32
        std::FILE* out = std::exchange(file_, nullptr);
        const bool written = std::fflush(out) == 0 && _commit(_fileno(out)) == 0;
        const int error = errno;
        // rename() does not replace a file that exists there.
        if (std::fclose(out) != 0 || !written ||
            MoveFileExA(temporary_.c_str(), path_.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
            errno = written ? EACCES : error;
#else
        struct stat old {};
        mode_t mode = 0;
        if (stat(path_.c_str(), &old) == 0) {
            mode = old.st_mode & 07777U;
        } else {
            const mode_t mask = umask(0);
            umask(mask);
            mode = 0666U & ~mask;
        }
        std::FILE* out = std::exchange(file_, nullptr);
        const bool written =
            std::fflush(out) == 0 && fsync(fileno(out)) == 0 && fchmod(fileno(out), mode) == 0;
        const int error = errno;
        if (std::fclose(out) != 0 || !written || rename(temporary_.c_str(), path_.c_str()) != 0) {
            errno = written ? errno : error;
#endif
            const int saved = errno;
            unlink(temporary_.c_str());
            errno = saved;
            return false;
        }
        return true;
    }

private:
    std::string path_;
    std::string temporary_;
    std::FILE* file_ = nullptr;
    bool direct_ = false; // not a regular file: written in place
};

// Runs a CSV command on the file named `path` ("-" or empty for standard
// input), writing to `output` (standard output when empty).
int RunCsv(Status (*command)(const CsvRun&), const std::string& path, CsvRun run,
           const std::string& output)
{
    run.out = stdout;
    run.err = stderr;
    run.progress = isatty(STDERR_FILENO) == 1;
    run.interrupted = &gInterrupted;
    std::unique_ptr<OutputFile> out;
    if (!output.empty()) {
        out = std::make_unique<OutputFile>(output);
        if (out->file() == nullptr) {
            std::fprintf(stderr, "curp: %s: no se puede escribir: %s\n", SafeToShow(output).c_str(),
                         std::strerror(errno));
            return kUsageError;
        }
        run.out = out->file();
    }
    // Ctrl+C stops the run between two rows, and it says what it wrote.
#ifdef _WIN32
    std::signal(SIGINT, OnInterrupt);
#else
    struct sigaction interrupt {};
    interrupt.sa_handler = OnInterrupt;
    sigemptyset(&interrupt.sa_mask);
    sigaction(SIGINT, &interrupt, nullptr);
#endif
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(nullptr, std::fclose);
    if (path.empty() || path == "-") {
        run.in = stdin;
        run.name = "entrada estándar";
        if (isatty(STDIN_FILENO) == 1) {
            std::fputs("curp: leyendo la entrada; Ctrl+D termina\n", stderr);
        }
    } else {
        file.reset(std::fopen(path.c_str(), "rb"));
        if (!file) {
            std::fprintf(stderr, "curp: %s: no se puede abrir: %s\n", SafeToShow(path).c_str(),
                         std::strerror(errno));
            return kUsageError;
        }
        run.in = file.get();
        run.name = path;
    }
    const int status = command(run);
    if (out && (status == kAllRows || status == kSomeRows) && !out->Keep()) {
        std::fprintf(stderr, "curp: %s: no se pudo escribir: %s\n", SafeToShow(output).c_str(),
                     std::strerror(errno));
        return kUsageError;
    }
    return status;
}

// The option of a field: "--paterno".
std::string Option(Field field)
{
    return "--" + std::string(NameOf(field));
}

int Calcula(const CLI::App& command, const Options& options)
{
    const auto given = [&](const char* name) { return options.Given(command, name); };
    std::optional<DateOrder> order;
    if (given("--fechas")) {
        const std::string value = FoldForSearch(options.Value("--fechas"));
        if (value == "DMA") {
            order = DateOrder::DayMonthYear;
        } else if (value == "MDA") {
            order = DateOrder::MonthDayYear;
        } else if (value == "AMD") {
            order = DateOrder::YearMonthDay;
        } else {
            return UsageError("--fechas: «" + SafeToShow(options.Value("--fechas")) +
                              "» no es dma, mda ni amd");
        }
    }
    if (given("--csv")) {
        for (const std::string_view field : kFieldNames) {
            if (const std::string name = "--" + std::string(field); given(name.c_str())) {
                return UsageError(name + " no va con --csv: los datos vienen del archivo");
            }
        }
        for (const auto& [name, set] :
             {std::pair{"--guiones", options.guiones}, std::pair{"--json", options.json}}) {
            if (set) {
                return UsageError(std::string(name) +
                                  " no va con --csv: los datos vienen del archivo");
            }
        }
        CsvRun run;
        if (const auto error = ReadChoices(command, options, run.choices)) {
            return UsageError(*error);
        }
        if (options.sexoMf && options.sexoHm) {
            return UsageError("--sexo-mf y --sexo-hm no van juntas");
        }
        if (options.sexoMf || options.sexoHm) {
            run.sexLetters = options.sexoMf ? SexLetters::FM : SexLetters::HM;
        }
        run.dateOrder = order;
        return RunCsv(CalculaCsv, options.Value("--csv"), run, options.Value("--salida"));
    }
    for (const char* name : {"--codificacion", "--separador", "--salida"}) {
        if (given(name)) {
            return UsageError(std::string(name) + " va solo con --csv");
        }
    }
    if (options.sexoMf || options.sexoHm) {
        return UsageError(std::string(options.sexoMf ? "--sexo-mf" : "--sexo-hm") +
                          " va solo con --csv");
    }
    for (const Field field : {Field::Paterno, Field::Nombre, Field::Nacimiento}) {
        if (!given(Option(field).c_str())) {
            return UsageError("falta " + Option(field));
        }
    }
    if (options.guiones && options.json) {
        return UsageError("--guiones y --json no van juntas");
    }
    // One person on the command line gets the window's starting sex (H) when
    // --sexo is not given, and no key without --entidad.
    std::array<std::string, kFieldCount> texts;
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        texts.at(field) = options.Value(Option(static_cast<Field>(field)));
    }
    const RequestRules rules{.today = Today(),
                             .order = order.value_or(DateOrder::DayMonthYear),
                             .sexRequired = false,
                             .stateRequired = false};
    const PersonAnswer answer =
        AnswerRequest({texts[0], texts[1], texts[2], texts[3], texts[4], texts[5]}, rules);
    // A value that is not what its option takes is a usage error; data that
    // gives no key (no given name, no surname, no state) is not.
    for (const FieldProblem& problem : answer.problems) {
        const bool noKey =
            problem.problem == Problem::NoGivenName || problem.problem == Problem::NoSurname ||
            problem.problem == Problem::NoInitials || problem.problem == Problem::NoMemory ||
            (problem.problem == Problem::Missing && problem.field == Field::Entidad);
        if (!noKey) {
            return UsageError(Option(problem.field) + ": " + Describe(problem, answer));
        }
    }
    if (answer.key.empty()) {
        std::string reasons;
        for (const FieldProblem& problem : answer.problems) {
            reasons.append(reasons.empty() ? "" : "; ");
            reasons.append(problem.problem == Problem::Missing
                               ? "falta la entidad (--entidad): sin ella la clave queda sin "
                                 "entidad ni dígito verificador"
                               : Describe(problem, answer));
        }
        std::fprintf(stderr, "curp: sin clave: %s\n", reasons.c_str());
        return kSomeRows;
    }
    for (const KeyDoubt& doubt : answer.doubts) {
        std::fprintf(stderr, "curp: aviso: %s\n", Describe(doubt).c_str());
    }
    if (options.json) {
        Print(ToJson(answer) + '\n');
    } else {
        Print((options.guiones ? WithDashes(answer.key) : answer.key) + '\n');
    }
    // A key for a birth still to come cannot have been issued: `curp valida`
    // refuses it, and so the key is given, but not as a success.
    const bool future =
        std::any_of(answer.doubts.begin(), answer.doubts.end(),
                    [](const KeyDoubt& d) { return d.doubt == Doubt::FutureBirth; });
    return future ? kSomeRows : kAllRows;
}

int Valida(const CLI::App& command, const Options& options)
{
    if (options.Given(command, "--csv")) {
        if (options.json || !options.keys.empty()) {
            return UsageError("--csv no va con --json ni con claves");
        }
        CsvRun run;
        if (const auto error = ReadChoices(command, options, run.choices)) {
            return UsageError(*error);
        }
        run.column = options.Value("--columna");
        return RunCsv(ValidaCsv, options.Value("--csv"), run, options.Value("--salida"));
    }
    for (const char* name : {"--codificacion", "--separador", "--salida", "--columna"}) {
        if (options.Given(command, name)) {
            return UsageError(std::string(name) + " va solo con --csv");
        }
    }
    return ValidaKeys(options.keys, {STDIN_FILENO, stdout, stderr, options.json});
}

// What everything written to standard output came to: a status of 2 when
// it could not all be written (a full disk, a closed pipe).
int CheckOutput(int status)
{
    if (status == kInterrupted) {
        return status;
    }
    const bool failedBefore = std::ferror(stdout) != 0;
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) {
        return status;
    }
    // A CSV command has already said so.
    if (!(failedBefore && status == kUsageError)) {
        std::fprintf(stderr, "curp: no se pudo escribir la salida: %s\n", std::strerror(errno));
    }
    return kUsageError;
}

int Run(int argc, char** argv)
{
    CLI::App app("", "curp");
    const auto formatter = std::make_shared<SpanishHelp>();
    app.formatter(formatter);
    app.failure_message(Failure);
    app.set_help_flag("-h,--help");
    app.allow_extras();
    // "/x" is an argument, as on Linux, not an option (CLI11's default on
    // Windows); the commands below inherit it.
    app.allow_windows_style_options(false);
    Options options;
    app.add_flag("-V,--version", options.version);

    CLI::App* calcula = app.add_subcommand("calcula");
    CLI::App* valida = app.add_subcommand("valida");
    CLI::App* lee = app.add_subcommand("lee");
    for (CLI::App* command : {calcula, valida, lee}) {
        command->formatter(formatter);
        command->set_help_flag("-h,--help");
        command->allow_extras();
    }
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        options.Add(*calcula, Option(static_cast<Field>(field)));
    }
    for (const char* name : {"--csv", "--codificacion", "--separador", "--fechas", "--salida"}) {
        options.Add(*calcula, name);
    }
    calcula->add_flag("--guiones", options.guiones);
    calcula->add_flag("--sexo-mf", options.sexoMf);
    calcula->add_flag("--sexo-hm", options.sexoHm);
    calcula->add_flag("--json", options.json);
    for (const char* name : {"--csv", "--codificacion", "--separador", "--salida", "--columna"}) {
        options.Add(*valida, name);
    }
    valida->add_flag("--json", options.json);
    valida->add_option("claves", options.keys);
    lee->add_flag("--json", options.json);
    lee->add_option("claves", options.keys);

    // -o is --salida: its short form, before the end of the options.
    std::vector<std::string> args(argv + 1, argv + argc);
    for (std::string& arg : args) {
        if (arg == "--") {
            break;
        }
        if (arg.starts_with("-o") && !arg.starts_with("--")) {
            arg = arg.size() == 2 ? "--salida" : "--salida=" + arg.substr(2);
        }
    }
    std::reverse(args.begin(), args.end()); // as CLI11 takes them
    try {
        app.parse(args);
    } catch (const CLI::CallForHelp&) {
        Print(app.help());
        return kAllRows;
    } catch (const CLI::ParseError& error) {
        std::ostringstream out;
        std::ostringstream err;
        app.exit(error, out, err);
        std::fputs(err.str().c_str(), stderr);
        return kUsageError;
    }
    if (options.version) {
        Print("curp (Llave) " LLAVE_VERSION "\n");
        return kAllRows;
    }
    CLI::App* chosen = nullptr;
    for (CLI::App* command : {calcula, valida, lee}) {
        if (command->parsed()) {
            chosen = command;
        }
    }
    std::vector<std::string> extra = chosen != nullptr ? chosen->remaining() : app.remaining();
    std::erase(extra, "--"); // the end of the options, which CLI11 leaves there
    if (!extra.empty()) {
        return UsageError(
            (extra.front().starts_with('-') ? "opción desconocida: " : "argumento de más: ") +
            SafeToShow(extra.front()));
    }
    if (chosen == nullptr) {
        return UsageError("falta la orden: calcula, valida o lee");
    }
    if (const auto error = options.Check(*chosen)) {
        return UsageError(*error);
    }
    if (chosen == calcula) {
        return Calcula(*calcula, options);
    }
    if (chosen == valida) {
        return Valida(*valida, options);
    }
    return LeeKeys(options.keys, {STDIN_FILENO, stdout, stderr, options.json});
}

} // namespace

int RunCurp(int argc, char** argv)
{
    // System error texts (strerror) in the language of the locale.
    std::setlocale(LC_ALL, "");
    // Output to a file or a pipe goes out in large pieces.
    // (glibc takes a size only with a buffer given.)
    if (isatty(STDOUT_FILENO) != 1) {
        static std::array<char, kPieceBytes> buffer{};
        std::setvbuf(stdout, buffer.data(), _IOFBF, buffer.size());
    }
    return CheckOutput(Run(argc, argv));
}

} // namespace curp::cli
