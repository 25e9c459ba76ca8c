// Running the command's CSV code on texts in memory.
#ifndef CURP_CLI_TEST_SUPPORT_H
#define CURP_CLI_TEST_SUPPORT_H

#include "csv_commands.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace curp::cli::test {

// Text written into a stream in memory, read back when the stream is closed.
class MemoryOut
{
public:
    MemoryOut()
        : file_(open_memstream(&data_, &size_))
    {}
    MemoryOut(const MemoryOut&) = delete;
    MemoryOut& operator=(const MemoryOut&) = delete;
    MemoryOut(MemoryOut&&) = delete;
    MemoryOut& operator=(MemoryOut&&) = delete;
    ~MemoryOut()
    {
        if (file_ != nullptr) {
            std::fclose(file_);
        }
        std::free(data_); // NOLINT(cppcoreguidelines-no-malloc): open_memstream's buffer
    }

    std::FILE* file() const
    {
        return file_;
    }

    std::string Text()
    {
        std::fflush(file_);
        return {data_, size_};
    }

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::FILE* file_;
};

// What a CSV command wrote and returned.
struct CsvResult {
    Status status;
    std::string out;
    std::string err;
};

inline CsvResult RunOn(Status (*command)(const CsvRun&), std::string_view input,
                       CsvChoices choices = {})
{
    std::string bytes(input);
    std::FILE* in =
        bytes.empty() ? std::fopen("/dev/null", "rb") : fmemopen(bytes.data(), bytes.size(), "rb");
    MemoryOut out;
    MemoryOut err;
    CsvRun run;
    run.in = in;
    run.out = out.file();
    run.err = err.file();
    run.name = "f.csv";
    run.choices = choices;
    const Status status = command(run);
    std::fclose(in);
    return {status, out.Text(), err.Text()};
}

// Test case names for INSTANTIATE_TEST_SUITE_P from the rows' `name`.
struct RowName {
    template <class Param>
    std::string operator()(const Param& info) const
    {
        return info.param.name;
    }
};

} // namespace curp::cli::test

#endif // CURP_CLI_TEST_SUPPORT_H
