// The commands that go through a whole CSV file, row by row: each row is
// written out with every input field unchanged and in place, plus the
// columns of the result.
#ifndef CURP_CLI_CSV_COMMANDS_H
#define CURP_CLI_CSV_COMMANDS_H

#include "commands.h"
#include "csv_input.h"

#include "curp/dates.h"
#include "curp/sex.h"

#include <csignal>
#include <cstdio>
#include <optional>
#include <string>

namespace curp::cli {

// Where a CSV command reads, writes and reports.
struct CsvRun {
    std::FILE* in = nullptr;
    std::FILE* out = nullptr; // rows only
    std::FILE* err = nullptr; // messages, prefixed "curp: <name>:<line>: ", and the summary
    std::string name;         // the file as named in messages
    bool progress = false;    // show the count of rows on `err` as they go by
    CsvChoices choices;       // encoding and separator, when not left to the first pass
    std::optional<DateOrder> dateOrder; // of the dates in numbers, when not left to the first pass
    std::optional<SexLetters> sexLetters; // of the sex column, when not left to the first pass
    std::string column; // the column of keys `valida` checks, when not curp (or curp_calculada)
    // Set (by a SIGINT handler) when the run is to stop: the rows written so
    // far are said to be all there is.
    const volatile std::sig_atomic_t* interrupted = nullptr;
};

// `curp calcula --csv`: adds curp_calculada, coincide (when there is a curp
// column), error and aviso to each row.
Status CalculaCsv(const CsvRun& run);

// `curp valida --csv`: adds valida and problemas, from the column curp (or,
// when there is none, curp_calculada, as `calcula --csv` writes it), or the
// column `run.column`.
Status ValidaCsv(const CsvRun& run);

// Every row written as it was read, with nothing computed: the reading and
// writing alone, as a yardstick for the two commands above.
Status CopyCsv(const CsvRun& run);

} // namespace curp::cli

#endif // CURP_CLI_CSV_COMMANDS_H
