#include "commands.h"

#include "csv_commands.h"
#include "key_report.h"
#include "person.h"

#include "curp/check.h"
#include "curp/utf8.h"

#include <CLI/CLI.hpp>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
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

«curp ORDEN --help» explica cada orden; «man curp» lo explica todo.

Estado de salida: 0 cuando todo dio resultado (cada clave calculada o
válida), 1 cuando algo no, 2 cuando los argumentos o el archivo no sirven.
)";

constexpr const char* kCalculaHelp =
    R"(Uso: curp calcula --paterno P [--materno M] --nombre N --nacimiento FECHA
                    [--sexo S] [--entidad E] [--guiones | --json]
  o: curp calcula --csv [ARCHIVO|-]

Calcula la clave de una persona como la ventana de Llave: los nombres pasan
a mayúsculas y la clave sale en una línea.

      --paterno TEXTO     apellido paterno (vacío si solo hay materno)
      --materno TEXTO     apellido materno (puede faltar)
      --nombre TEXTO      nombre o nombres
      --nacimiento FECHA  fecha de nacimiento, AAAA-MM-DD o DD/MM/AAAA
      --sexo S            H (hombre; sin --sexo), M (mujer) o X (no binario);
                          también Hombre, Mujer, Masculino, Femenino o F
      --entidad E         entidad de nacimiento: su código (DF, NE) o su
                          nombre ("nuevo león", michoacan); sin ella la clave
                          queda sin entidad ni dígito verificador
      --guiones           la clave con los guiones de la ventana
      --json              un objeto JSON: clave, valida, problemas,
                          nacimiento, sexo, entidad, entidad_nombre
      --csv [ARCHIVO|-]   la clave de cada fila de un archivo CSV (la entrada
                          estándar con - o sin ARCHIVO); escribe cada fila tal
                          cual, más las columnas curp_calculada, coincide (si
                          hay una columna curp) y error
  -h, --help              muestra esta ayuda y termina

El CSV va en UTF-8 y separado por comas; su encabezado nombra las columnas
paterno, materno, nombre, nacimiento, sexo y entidad, en cualquier orden.
Una fila sin clave lleva el motivo en la columna error, y su número de línea
sale por la salida de errores.
)";

constexpr const char* kValidaHelp = R"(Uso: curp valida [--json] [CLAVE]...
  o: curp valida --csv [ARCHIVO|-]

Dice de cada CLAVE si está bien formada y, si no, todos sus problemas. Sin
CLAVE, lee una clave por línea de la entrada estándar. Las claves pueden ir
en minúsculas y con los guiones o espacios de la ventana.

      --json              un objeto JSON por clave (JSON Lines)
      --csv [ARCHIVO|-]   valida la columna curp de cada fila de un archivo
                          CSV y añade las columnas valida (si o no) y problemas
  -h, --help              muestra esta ayuda y termina
)";

constexpr const char* kLeeHelp = R"(Uso: curp lee [--json] [CLAVE]...

Dice qué dice cada CLAVE: fecha de nacimiento, sexo, entidad (código y
nombre) y cualquier problema que tenga. Sin CLAVE, lee una clave por línea de
la entrada estándar.

      --json              un objeto JSON por clave (JSON Lines)
  -h, --help              muestra esta ayuda y termina
)";

int UsageError(const std::string& message)
{
    std::cerr << "curp: " << message << "\nPruebe «curp --help».\n";
    return kUsageError;
}

// Runs a CSV command on the file named `path` ("-" for standard input).
int RunCsv(Status (*command)(const CsvRun&), const std::string& path)
{
    CsvRun run;
    run.out = stdout;
    run.err = stderr;
    run.progress = isatty(STDERR_FILENO) == 1;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(nullptr, std::fclose);
    if (path.empty() || path == "-") {
        run.in = stdin;
        run.name = "entrada estándar";
    } else {
        file.reset(std::fopen(path.c_str(), "rb"));
        if (!file) {
            std::cerr << "curp: " << Shown(path) << ": no se puede abrir: " << std::strerror(errno)
                      << '\n';
            return kUsageError;
        }
        run.in = file.get();
        run.name = path;
    }
    return command(run);
}

// The keys of the command line, or else one per line of standard input.
template <class Each>
void ForEachKey(const std::vector<std::string>& keys, Each each)
{
    if (!keys.empty()) {
        for (const std::string& key : keys) {
            each(key);
        }
        return;
    }
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.find_first_not_of(" \t") != std::string::npos) {
            each(line);
        }
    }
}

struct Options {
    std::string paterno, materno, nombre, nacimiento, sexo, entidad, csv;
    std::vector<std::string> keys;
    bool guiones = false;
    bool json = false;
    bool help = false;
};

int Calcula(CLI::App& command, const Options& options)
{
    const auto given = [&command](const char* name) { return command.count(name) > 0; };
    if (given("--csv")) {
        for (const char* name : {"--paterno", "--materno", "--nombre", "--nacimiento", "--sexo",
                                 "--entidad", "--guiones", "--json"}) {
            if (given(name)) {
                return UsageError(std::string(name) +
                                  " no va con --csv: los datos vienen del archivo");
            }
        }
        return RunCsv(CalculaCsv, options.csv);
    }
    for (const char* name : {"--paterno", "--nombre", "--nacimiento"}) {
        if (!given(name)) {
            return UsageError(std::string("falta ") + name);
        }
    }
    if (options.guiones && options.json) {
        return UsageError("--guiones y --json no van juntas");
    }
    // A value that is not what its option takes is a usage error; data that
    // gives no key (no given name, no surname) is not.
    const Person person{options.paterno,    options.materno, options.nombre,
                        options.nacimiento, options.sexo,    options.entidad};
    for (const auto& [text, name] : {std::pair{person.paterno, "--paterno"},
                                     {person.materno, "--materno"},
                                     {person.nombre, "--nombre"},
                                     {person.nacimiento, "--nacimiento"},
                                     {person.sexo, "--sexo"},
                                     {person.entidad, "--entidad"}}) {
        if (!IsUtf8(text)) {
            return UsageError(std::string(name) + ": texto que no es UTF-8 válido");
        }
    }
    std::string reason;
    ParseBirthDate(person.nacimiento, reason);
    if (!reason.empty()) {
        return UsageError("--nacimiento: " + reason);
    }
    if (given("--sexo") && ParseSex(person.sexo) == 0) {
        return UsageError("--sexo: «" + Shown(person.sexo) + "» no es H, M ni X");
    }
    if (given("--entidad") && FindState(person.entidad) == nullptr) {
        return UsageError("--entidad: «" + Shown(person.entidad) +
                          "» no es un código ni el nombre de una entidad");
    }
    KeyMaker maker;
    Computed computed;
    maker.Compute(person, Missing::WindowDefaults, computed);
    if (computed.key.empty()) {
        std::cerr << "curp: sin clave: " << computed.error << '\n';
        return kSomeRows;
    }
    if (options.json) {
        std::cout << ToJson(computed) << '\n';
    } else {
        std::cout << (options.guiones ? WithDashes(computed.key) : computed.key) << '\n';
    }
    if (computed.state == nullptr) {
        std::cerr << "curp: sin --entidad la clave no lleva entidad ni dígito verificador\n";
    }
    return kAllRows;
}

int Valida(CLI::App& command, const Options& options)
{
    if (command.count("--csv") > 0) {
        if (options.json || !options.keys.empty()) {
            return UsageError("--csv no va con --json ni con claves");
        }
        return RunCsv(ValidaCsv, options.csv);
    }
    int status = kAllRows;
    ForEachKey(options.keys, [&](const std::string& key) {
        const KeyReport report = ReportOn(key);
        std::cout << (options.json ? ToJson(report) : ValidityLine(report)) << '\n';
        if (!report.problems.empty()) {
            status = kSomeRows;
        }
    });
    return status;
}

int Lee(const Options& options)
{
    int status = kAllRows;
    bool first = true;
    ForEachKey(options.keys, [&](const std::string& key) {
        const KeyReport report = ReportOn(key);
        if (options.json) {
            std::cout << ToJson(report) << '\n';
        } else {
            std::cout << (first ? "" : "\n") << Reading(report);
        }
        first = false;
        if (!report.problems.empty()) {
            status = kSomeRows;
        }
    });
    return status;
}

// CLI11 reports wrong arguments in English; this says the same in Spanish.
int ParseFailure(const CLI::ParseError& error)
{
    const std::string what = error.what();
    const std::string option = what.substr(0, what.find(':'));
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
        if (what.find("missing") != std::string::npos) {
            return UsageError("a " + option + " le falta su valor");
        }
        return UsageError(option + " se dio más de una vez");
    }
    return UsageError("argumentos que no se entienden (" + what + ")");
}

} // namespace

int RunCurp(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    CLI::App app("", "curp");
    app.set_help_flag();
    app.allow_extras();
    Options options;
    bool version = false;
    app.add_flag("-h,--help", options.help);
    app.add_flag("-V,--version", version);

    CLI::App* calcula = app.add_subcommand("calcula");
    calcula->set_help_flag();
    calcula->add_flag("-h,--help", options.help);
    for (const auto& [name, value] : {std::pair{"--paterno", &options.paterno},
                                      {"--materno", &options.materno},
                                      {"--nombre", &options.nombre},
                                      {"--nacimiento", &options.nacimiento},
                                      {"--sexo", &options.sexo},
                                      {"--entidad", &options.entidad}}) {
        calcula->add_option(name, *value);
    }
    calcula->add_flag("--guiones", options.guiones);
    calcula->add_flag("--json", options.json);
    calcula->add_option("--csv", options.csv)->expected(0, 1);

    CLI::App* valida = app.add_subcommand("valida");
    valida->set_help_flag();
    valida->add_flag("-h,--help", options.help);
    valida->add_flag("--json", options.json);
    valida->add_option("--csv", options.csv)->expected(0, 1);
    valida->add_option("claves", options.keys);

    CLI::App* lee = app.add_subcommand("lee");
    lee->set_help_flag();
    lee->add_flag("-h,--help", options.help);
    lee->add_flag("--json", options.json);
    lee->add_option("claves", options.keys);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return ParseFailure(error);
    }

    CLI::App* chosen = nullptr;
    for (CLI::App* command : {calcula, valida, lee}) {
        if (command->parsed()) {
            chosen = command;
        }
    }
    if (options.help) {
        std::cout << (chosen == calcula  ? kCalculaHelp
                      : chosen == valida ? kValidaHelp
                      : chosen == lee    ? kLeeHelp
                                         : kMainHelp);
        return kAllRows;
    }
    if (version) {
        std::cout << "curp (Llave) " LLAVE_VERSION "\n";
        return kAllRows;
    }
    const std::vector<std::string> extra =
        chosen != nullptr ? chosen->remaining() : app.remaining();
    if (!extra.empty()) {
        return UsageError(
            (extra.front().starts_with('-') ? "opción desconocida: " : "argumento de más: ") +
            Shown(extra.front()));
    }
    if (chosen == calcula) {
        return Calcula(*calcula, options);
    }
    if (chosen == valida) {
        return Valida(*valida, options);
    }
    if (chosen == lee) {
        return Lee(options);
    }
    return UsageError("falta la orden: calcula, valida o lee");
}

} // namespace curp::cli
