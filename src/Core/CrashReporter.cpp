#include "Core/CrashReporter.hpp"

#include "Core/LogFileWriting.hpp"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <cxxabi.h>
#include <execinfo.h>
#include <fcntl.h>
#include <pthread.h>
#include <source_location>
#include <string_view>
#include <sys/mman.h>
#include <unistd.h>

namespace velmora {

namespace {

constexpr std::string_view warningSign = "\u26A0\uFE0F";
// What a signal report's log line names as its function, as the logger would.
constexpr std::string_view signalHandlerSignature = "handleSignal(int, const char*)";

constexpr bool endsWithIgnoringBlanks(std::string_view text, std::string_view ending) {
    std::size_t t = text.size();
    for (std::size_t e = ending.size(); e > 0; --e) {
        if (ending[e - 1] == ' ') {
            continue;
        }
        while (t > 0 && text[t - 1] == ' ') {
            --t;
        }
        if (t == 0 || text[--t] != ending[e - 1]) {
            return false;
        }
    }
    return true;
}

// A compiler names a function in std::source_location its own way: the signature, spaced as
// it likes ("const char*" or "const char *"), or only the name.
constexpr bool namesFunction(std::string_view reported, std::string_view signature) {
    return reported == signature.substr(0, signature.find('(')) ||
           endsWithIgnoringBlanks(reported, signature);
}

constexpr int maxFrames = 128;
// Room for the unwinder and the symbol lookup, also after the thread's own stack overflowed.
constexpr std::size_t alternateStackSize = 256 * 1024;

std::atomic<CrashReporter*> installedReporter{nullptr};
std::array<struct sigaction, CrashReporter::fatalSignals.size()> previousActions{};

// Reserved in advance: a signal handler may not allocate.
std::array<char, 4096> reportBuffer;
std::array<void*, maxFrames> signalFrames;
std::atomic<std::uint64_t> reportingThread{0};

/// Builds text in a fixed buffer without allocating; what does not fit is cut off.
class FixedText {
public:
    explicit FixedText(std::array<char, 4096>& buffer)
        : data_(buffer.data()), capacity_(buffer.size()) {}

    FixedText& operator<<(std::string_view text) {
        for (const char c : text) {
            if (size_ == capacity_) {
                break;
            }
            data_[size_++] = c;
        }
        return *this;
    }
    FixedText& operator<<(unsigned long number) {
        char digits[24];
        std::size_t count = 0;
        do {
            digits[count++] = static_cast<char>('0' + number % 10);
            number /= 10;
        } while (number != 0);
        while (count > 0) {
            *this << std::string_view(&digits[--count], 1);
        }
        return *this;
    }
    FixedText& twoDigits(unsigned long number) {
        const char digits[2] = {static_cast<char>('0' + number / 10 % 10),
                                static_cast<char>('0' + number % 10)};
        return *this << std::string_view(digits, 2);
    }
    FixedText& threeDigits(unsigned long number) {
        const char digits[3] = {static_cast<char>('0' + number / 100 % 10),
                                static_cast<char>('0' + number / 10 % 10),
                                static_cast<char>('0' + number % 10)};
        return *this << std::string_view(digits, 3);
    }

    [[nodiscard]] const char* data() const { return data_; }
    [[nodiscard]] std::size_t size() const { return size_; }

private:
    char* data_;
    std::size_t capacity_;
    std::size_t size_ = 0;
};

// The system's id of the calling thread, as its own tools show it; never 0. This and the next
// are safe in a signal handler.
std::uint64_t currentThreadId() noexcept {
#ifdef __APPLE__
    std::uint64_t id = 0;
    pthread_threadid_np(nullptr, &id);
    return id;
#else
    return static_cast<std::uint64_t>(gettid());
#endif
}

bool onMainThread() noexcept {
#ifdef __APPLE__
    return pthread_main_np() != 0;
#else
    return gettid() == getpid();
#endif
}

void writeLineTo(std::string_view line, void* fd) {
    const int file = *static_cast<int*>(fd);
    writeAll(file, line.data(), line.size());
    writeAll(file, "\n", 1);
}

/// The thread's own stack may be what overflowed, so the handlers run on a stack of their own.
/// Only the installing (main) thread gets one; a larger one already in place is kept.
void ensureAlternateStack() {
    stack_t current{};
    if (sigaltstack(nullptr, &current) == 0 && (current.ss_flags & SS_DISABLE) == 0 &&
        current.ss_size >= alternateStackSize) {
        return;
    }
    void* memory = mmap(nullptr, alternateStackSize, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) {
        return;
    }
    stack_t stack{};
    stack.ss_sp = memory;
    stack.ss_size = alternateStackSize;
    if (sigaltstack(&stack, nullptr) != 0) {
        munmap(memory, alternateStackSize);
    }
}

std::string demangled(const char* name) {
    int status = 0;
    char* readable = abi::__cxa_demangle(name, nullptr, nullptr, &status);
    std::string result = status == 0 && readable != nullptr ? readable : name;
    std::free(readable);
    return result;
}

std::vector<std::string> callStackSymbols() {
    std::array<void*, maxFrames> frames{};
    const int count = backtrace(frames.data(), maxFrames);
    char** symbols = backtrace_symbols(frames.data(), count);
    std::vector<std::string> result;
    if (symbols != nullptr) {
        result.assign(symbols, symbols + count);
        std::free(symbols);
    }
    return result;
}

UncaughtException describeCurrentException() {
    UncaughtException exception;
    const std::type_info* type = abi::__cxa_current_exception_type();
    exception.name = type != nullptr ? demangled(type->name()) : "unknown";
    try {
        std::rethrow_exception(std::current_exception());
    } catch (const std::exception& error) {
        exception.reason = error.what();
    } catch (...) {
        // Not a std::exception: no reason to give.
    }
    exception.callStackSymbols = callStackSymbols();
    return exception;
}

std::string exceptionReport(const UncaughtException& exception) {
    std::string report;
    report.append("\n").append(warningSign).append(" UNCAUGHT EXCEPTION ").append(warningSign);
    report.append("\nName: ").append(exception.name);
    report.append("\nReason: ").append(exception.reason.value_or("unknown"));
    report.append("\nUser Info: [:]");
    report.append("\n\nCall Stack:\n");
    for (std::size_t i = 0; i < exception.callStackSymbols.size(); ++i) {
        report.append(i == 0 ? "" : "\n").append(exception.callStackSymbols[i]);
    }
    report.append("\n");
    return report;
}

long currentUtcOffsetSeconds() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_gmtoff;
}

} // namespace

CrashReporter& CrashReporter::shared() {
    static auto* const instance = new CrashReporter(AppLogger::shared());
    return *instance;
}

CrashReporter::CrashReporter(std::shared_ptr<AppLogger> logger) : logger_(std::move(logger)) {}

CrashReporter::~CrashReporter() {
    CrashReporter* self = this;
    if (!installed_ || !installedReporter.compare_exchange_strong(self, nullptr)) {
        return;
    }
    for (std::size_t i = 0; i < fatalSignals.size(); ++i) {
        sigaction(fatalSignals[i].number, &previousActions[i], nullptr);
    }
    std::set_terminate(previousExceptionHandler_);
}

void CrashReporter::install() {
    if (installed_) {
        return;
    }
    logger_->info("Installing crash reporter");

    // Everything a signal handler needs is prepared now, while allocating is still allowed.
    logFilePath_ = logger_->logFileURL().string();
    utcOffsetSeconds_ = currentUtcOffsetSeconds();
    backtrace(signalFrames.data(), 1); // loads the unwinder now rather than inside a handler
    ensureAlternateStack();
    installed_ = true;
    installedReporter.store(this);

    const std::terminate_handler previous = std::set_terminate(onTerminate);
    previousExceptionHandler_ = previous == onTerminate ? nullptr : previous;

    struct sigaction action {};
    action.sa_handler = onSignal;
    action.sa_flags = SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (const FatalSignal& fatal : fatalSignals) {
        sigaddset(&action.sa_mask, fatal.number);
    }
    for (std::size_t i = 0; i < fatalSignals.size(); ++i) {
        sigaction(fatalSignals[i].number, &action, &previousActions[i]);
    }

    logger_->info("Crash reporter installed");
}

void CrashReporter::handleException(const UncaughtException& exception) {
    try {
        logger_->fatal(exceptionReport(exception));
        logger_->waitUntilWritten();
    } catch (...) {
        // Out of memory: the earlier handler still runs.
    }
    if (previousExceptionHandler_ != nullptr) {
        previousExceptionHandler_();
    }
}

void CrashReporter::handleSignal(int signal, const char* name) noexcept {
    static constexpr std::source_location where = std::source_location::current();
    static_assert(namesFunction(where.function_name(), signalHandlerSignature));
    // Only the first crashing thread reports; any other waits a while for it to end the process.
    std::uint64_t expected = 0;
    if (reportingThread.compare_exchange_strong(expected, currentThreadId())) {
        const int fd = ::open(logFilePath_.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOFOLLOW);
        if (fd >= 0) {
            writeSignalReport(signal, name, where, fd);
            ::close(fd);
        }
    } else {
        for (int i = 0; i < 300; ++i) {
            const timespec pause{0, 10'000'000};
            nanosleep(&pause, nullptr);
        }
    }
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

void CrashReporter::writeSignalReport(int signal, const char* name,
                                      const std::source_location& where, int fd) noexcept {
    // Lines the writer has not written yet come first, when that can be done without waiting.
    logger_->takeOverForCrash(writeLineTo, &fd);

    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const long localSeconds = (now.tv_sec + utcOffsetSeconds_) % 86400;
    const auto secondOfDay =
        static_cast<unsigned long>(localSeconds < 0 ? localSeconds + 86400 : localSeconds);
    // Room for the longest name any system gives a thread (macOS: 63 characters).
    char threadName[64] = {};
    pthread_getname_np(pthread_self(), threadName, sizeof threadName);

    FixedText text(reportBuffer);
    text << "[";
    text.twoDigits(secondOfDay / 3600) << ":";
    text.twoDigits(secondOfDay / 60 % 60) << ":";
    text.twoDigits(secondOfDay % 60) << ".";
    text.threeDigits(static_cast<unsigned long>(now.tv_nsec / 1'000'000));
    text << "] [FATAL] [" << lastPathComponent(where.file_name()) << ":"
         << static_cast<unsigned long>(where.line()) << "] " << signalHandlerSignature << ": ";
    text << "\n"
         << warningSign << " FATAL SIGNAL " << warningSign << "\nSignal: " << name << " ("
         << static_cast<unsigned long>(signal)
         << ")\n\nThread: {tid = " << static_cast<unsigned long>(currentThreadId())
         << ", name = " << std::string_view(threadName)
         << "}\nIs Main Thread: " << (onMainThread() ? "true" : "false") << "\n\nCall Stack:\n";
    writeAll(fd, text.data(), text.size());

    // One symbol per line, each with its line end; the last line end closes the log line.
    const int frames = backtrace(signalFrames.data(), maxFrames);
    backtrace_symbols_fd(signalFrames.data(), frames, fd);
    writeAll(fd, "\n", 1);
}

void CrashReporter::onTerminate() {
    CrashReporter* reporter = installedReporter.load();
    if (reporter != nullptr) {
        std::optional<UncaughtException> exception;
        if (std::current_exception()) {
            try {
                exception = describeCurrentException();
            } catch (...) {
                // Out of memory: no report, the earlier handler still runs.
            }
        }
        if (exception) {
            reporter->handleException(*exception);
        } else if (reporter->previousExceptionHandler_ != nullptr) {
            reporter->previousExceptionHandler_();
        }
    }
    std::abort();
}

void CrashReporter::onSignal(int signal) {
    // The interrupted code may be about to read errno.
    const int savedErrno = errno;
    CrashReporter* reporter = installedReporter.load();
    const auto fatal =
        std::find_if(fatalSignals.begin(), fatalSignals.end(),
                     [signal](const FatalSignal& candidate) { return candidate.number == signal; });
    if (reporter != nullptr && fatal != fatalSignals.end()) {
        reporter->handleSignal(signal, fatal->name);
    } else {
        ::signal(signal, SIG_DFL);
        ::raise(signal);
    }
    errno = savedErrno;
}

} // namespace velmora
