#pragma once

#include <iosfwd>
#include <streambuf>
#include <string>
#include <vector>

namespace velmora::scenario {

/// Keeps the text written to it as lines.
class LineRecordingBuffer final : public std::streambuf {
public:
    /// Every finished line, then the unfinished one if any.
    [[nodiscard]] std::vector<std::string> lines() const;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;

private:
    void put(char c);

    std::vector<std::string> lines_;
    std::string partial_;
};

/// Takes over `std::cout` for its lifetime, keeping what the components print as lines.
///
///     std::ostream report(std::cout.rdbuf());   // the runner's own output, taken first
///     StandardOutputCapture capture;
///     runComponents();                          // their std::cout lines land in capture
///     report << capture.lines().size() << "\n";
class StandardOutputCapture {
public:
    StandardOutputCapture();
    ~StandardOutputCapture();
    StandardOutputCapture(const StandardOutputCapture&) = delete;
    StandardOutputCapture& operator=(const StandardOutputCapture&) = delete;

    [[nodiscard]] std::vector<std::string> lines() const { return buffer_.lines(); }

private:
    LineRecordingBuffer buffer_;
    std::streambuf* previous_;
};

} // namespace velmora::scenario
