// Speed of `curp calcula --csv` beside a plain pass through the same file by
// the same CSV code (every row read and written back, nothing computed), and
// of `curp valida` on one key per line beside a plain pass of those lines.
//
//   cmake --preset bench && cmake --build --preset bench --target csv_bench
//   build/bench/bench/cli/csv_bench [ROWS] [ROUNDS]
//   build/bench/bench/cli/csv_bench --write FILE [ROWS]   (only writes the file)
//
// It writes ROWS (default 1 000 000) typical rows to a temporary file, and
// the key of each to another, then runs each plain pass and its command in
// turn, ROUNDS times each (default 5), output to /dev/null, and prints the
// fastest processor time of each, the rows per second and their ratio.
// calcula reads its file twice, as the command does.
#include "csv_commands.h"
#include "key_commands.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Names as a spreadsheet holds them: mostly plain, some with accents, lower
// case, particles or a compound given name.
constexpr std::array kSurnames = {"GARCIA",  "HERNANDEZ",  "MARTINEZ",  "LOPEZ",     "GONZALEZ",
                                  "Pérez",   "RODRIGUEZ",  "SANCHEZ",   "RAMIREZ",   "cruz",
                                  "FLORES",  "GOMEZ",      "Díaz",      "REYES",     "MORALES",
                                  "JIMENEZ", "DE LA ROSA", "Gutiérrez", "RUIZ",      "ORTIZ",
                                  "MUÑOZ",   "CASTILLO",   "Vázquez",   "DEL VALLE", "MENDOZA"};
constexpr std::array kGivenNames = {"JUAN",      "MARIA GUADALUPE", "JOSE LUIS",    "Ana",
                                    "FRANCISCO", "Sofía",           "MIGUEL ANGEL", "ALEJANDRA",
                                    "CARLOS",    "María José",      "PEDRO",        "LUCIA",
                                    "JORGE",     "Verónica",        "LUIS"};
constexpr std::array kStates = {"DF", "JC", "NL", "MC", "PL", "GT",         "VZ", "Michoacán",
                                "YN", "CH", "SR", "NE", "oc", "Nuevo León", "BC"};

// Keys as people keep them: most well-formed, some in the window's layout
// or lower case, some with a wrong check digit.
constexpr std::array kKeys = {
    "GODJ750423HDFMZN00", "PEXA800101MNERXN02", "HEML910715MJCRPS09", "godj-750423-h-df-mzn-0-0",
    "GODJ750423HDFMZN07", "LOGA650312HNLPRN08", "SAHR020910MMCNRSA4", "CUFM881130HVZRLG05"};

void WriteRows(std::FILE* file, std::size_t rows)
{
    std::mt19937 random(20260101); // the same file every time
    const auto pick = [&random](const auto& list) {
        return list[std::uniform_int_distribution<std::size_t>(0, list.size() - 1)(random)];
    };
    std::fputs("id,paterno,materno,nombre,nacimiento,sexo,entidad\n", file);
    for (std::size_t row = 1; row <= rows; ++row) {
        const int year = std::uniform_int_distribution(1940, 2015)(random);
        const int month = std::uniform_int_distribution(1, 12)(random);
        const int day = std::uniform_int_distribution(1, 28)(random);
        std::fprintf(file, "%zu,%s,%s,%s,%04d-%02d-%02d,%c,%s\n", row, pick(kSurnames),
                     pick(kSurnames), pick(kGivenNames), year, month, day,
                     (row % 2) != 0 ? 'H' : 'M', pick(kStates));
    }
}

double ProcessorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Processor time of one command over the whole file.
double Time(curp::cli::Status (*command)(const curp::cli::CsvRun&), const std::string& path)
{
    curp::cli::CsvRun run;
    run.in = std::fopen(path.c_str(), "rb");
    run.out = std::fopen("/dev/null", "wb");
    run.err = std::fopen("/dev/null", "wb");
    run.name = path;
    if (run.in == nullptr || run.out == nullptr || run.err == nullptr) {
        std::perror("csv_bench");
        std::exit(1);
    }
    const double start = ProcessorSeconds();
    const auto status = command(run);
    const double seconds = ProcessorSeconds() - start;
    std::fclose(run.in);
    std::fclose(run.out);
    std::fclose(run.err);
    if (status != curp::cli::kAllRows) {
        std::fprintf(stderr, "csv_bench: a row gave no key (status %d)\n", status);
        std::exit(1);
    }
    return seconds;
}

// Processor time of one command over a file of keys, one per line.
double TimeKeys(curp::cli::Status (*command)(const curp::cli::KeyRun&), const std::string& path)
{
    curp::cli::KeyRun run;
    run.in = open(path.c_str(), O_RDONLY);
    run.out = std::fopen("/dev/null", "wb");
    run.err = run.out;
    if (run.in < 0 || run.out == nullptr) {
        std::perror("csv_bench");
        std::exit(1);
    }
    const double start = ProcessorSeconds();
    command(run);
    std::fflush(run.out);
    const double seconds = ProcessorSeconds() - start;
    close(run.in);
    std::fclose(run.out);
    return seconds;
}

curp::cli::Status Valida(const curp::cli::KeyRun& run)
{
    return curp::cli::ValidaKeys({}, run);
}

// The fastest round: on a shared machine the others only add waiting.
double Fastest(const std::vector<double>& values)
{
    return *std::min_element(values.begin(), values.end());
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "--write" && args.size() >= 2) {
        std::FILE* file = std::fopen(argv[2], "wb");
        if (file == nullptr) {
            std::perror(argv[2]);
            return 1;
        }
        WriteRows(file, args.size() > 2 ? std::strtoull(argv[3], nullptr, 10) : 1'000'000);
        return std::fclose(file) == 0 ? 0 : 1;
    }
    const std::size_t rows = !args.empty() ? std::strtoull(argv[1], nullptr, 10) : 1'000'000;
    const int rounds = args.size() > 1 ? std::atoi(argv[2]) : 5;
    const char* tmp = std::getenv("TMPDIR");
    const std::string path = std::string(tmp != nullptr ? tmp : "/tmp") + "/llave-csv-bench.csv";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::perror(path.c_str());
        return 1;
    }
    WriteRows(file, rows);
    std::fclose(file);
    const std::string keysPath = path + ".claves";
    std::FILE* keys = std::fopen(keysPath.c_str(), "wb");
    for (std::size_t row = 0; keys != nullptr && row < rows; ++row) {
        std::fprintf(keys, "%s\n", kKeys.at(row % kKeys.size()));
    }
    if (keys == nullptr || std::fclose(keys) != 0) {
        std::perror(keysPath.c_str());
        return 1;
    }

    std::vector<double> copy;
    std::vector<double> calcula;
    std::vector<double> copyLines;
    std::vector<double> valida;
    for (int round = 0; round < rounds; ++round) {
        copy.push_back(Time(curp::cli::CopyCsv, path));
        calcula.push_back(Time(curp::cli::CalculaCsv, path));
        copyLines.push_back(TimeKeys(curp::cli::CopyLines, keysPath));
        valida.push_back(TimeKeys(Valida, keysPath));
    }
    std::remove(path.c_str());
    std::remove(keysPath.c_str());
    const double plain = Fastest(copy);
    const double computed = Fastest(calcula);
    const auto perSecond = [rows](double seconds) { return static_cast<double>(rows) / seconds; };
    std::printf("%zu rows, fastest of %d rounds (processor time, one core)\n", rows, rounds);
    std::printf("plain pass (read and write):  %.3f s  %.0f rows/s\n", plain, perSecond(plain));
    std::printf("curp calcula --csv:           %.3f s  %.0f rows/s\n", computed,
                perSecond(computed));
    std::printf("ratio calcula / plain pass:   %.2f\n", computed / plain);
    const double lines = Fastest(copyLines);
    const double checked = Fastest(valida);
    std::printf("plain pass of keys (lines):   %.3f s  %.0f keys/s\n", lines, perSecond(lines));
    std::printf("curp valida:                  %.3f s  %.0f keys/s\n", checked, perSecond(checked));
    std::printf("ratio valida / plain pass:    %.2f\n", checked / lines);
    return 0;
}
