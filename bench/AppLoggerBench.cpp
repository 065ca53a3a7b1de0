// The logger's two costs: what a `log` call costs its caller, and how many lines per second the
// writer thread gets into the file.

#include "Core/AppLogger.hpp"
#include "Support/ManualRunLoop.hpp"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using namespace velmora;

class LogDirectory {
public:
    LogDirectory() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "velmora-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~LogDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    [[nodiscard]] const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

std::shared_ptr<AppLogger> makeLogger(const LogDirectory& directory) {
    // The run loop never runs: write-outs come only from full buffers and explicit flushes.
    return AppLogger::create(directory.path(), std::make_shared<ManualRunLoop>(),
                             std::make_shared<SystemTimeProvider>(), "Benchmark OS");
}

// A typical line from the lock engine, through the same call path components use; the
// writer appends every 100 lines on its own thread meanwhile.
void BM_LogCall(benchmark::State& state) {
    LogDirectory directory;
    auto logger = makeLogger(directory);
    const std::string messages[] = {"Frontmost app changed: com.example.Mail (pid 4242)",
                                    "Showing overlay for com.example.Mail",
                                    "Unlock succeeded for com.example.Mail"};
    std::size_t i = 0;
    for (auto _ : state) {
        logger->info(messages[i++ % 3]);
    }
    state.SetItemsProcessed(state.iterations());
    logger->flush();
    logger->waitUntilWritten();
}
BENCHMARK(BM_LogCall);

// Lines per second from the calls into the file, until the last one is written; each round
// starts a fresh file.
void BM_WriterThroughput(benchmark::State& state) {
    constexpr int lines = 100'000;
    const std::string message = "Idle timeout reached for com.example.Notes after 300 seconds";
    for (auto _ : state) {
        state.PauseTiming();
        auto directory = std::make_unique<LogDirectory>();
        auto logger = makeLogger(*directory);
        state.ResumeTiming();

        for (int i = 0; i < lines; ++i) {
            logger->log(message, LogLevel::info, "src/Core/LockEngine/LockEngineIdle.cpp",
                        "handleAppIdleTimeout(const std::string&)", i);
        }
        logger->flush();
        logger->waitUntilWritten();

        state.PauseTiming();
        logger.reset();
        directory.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * lines);
}
BENCHMARK(BM_WriterThroughput)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
