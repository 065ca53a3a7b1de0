#include "StandardOutputCapture.hpp"

#include <iostream>

namespace velmora::scenario {

std::vector<std::string> LineRecordingBuffer::lines() const {
    std::vector<std::string> all = lines_;
    if (!partial_.empty()) {
        all.push_back(partial_);
    }
    return all;
}

LineRecordingBuffer::int_type LineRecordingBuffer::overflow(int_type c) {
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        put(traits_type::to_char_type(c));
    }
    return traits_type::not_eof(c);
}

std::streamsize LineRecordingBuffer::xsputn(const char* text, std::streamsize count) {
    for (std::streamsize i = 0; i < count; ++i) {
        put(text[i]);
    }
    return count;
}

void LineRecordingBuffer::put(char c) {
    if (c != '\n') {
        partial_ += c;
        return;
    }
    lines_.push_back(std::move(partial_));
    partial_.clear();
}

StandardOutputCapture::StandardOutputCapture() : previous_(std::cout.rdbuf(&buffer_)) {}

StandardOutputCapture::~StandardOutputCapture() {
    std::cout.rdbuf(previous_);
}

} // namespace velmora::scenario
