// SPDX-License-Identifier: GPL-3.0-or-later
// Standard input by lines and standard output in large blocks, natively and
// under Node. (Emscripten's own stdin under Node takes a pipe that is not
// yet ready for its end, and reads it a character at a time; here Node's fs
// reads /dev/stdin, which blocks, in blocks of a megabyte.)
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class InputLines {
public:
    // The next line without its "\n" (a last line may lack it); the view
    // holds until the next call. False at the end of the input.
    bool Next(std::string_view& line);

private:
    std::vector<char> buffer_ = std::vector<char>(std::size_t{1} << 20);
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool ended_ = false;
};

class OutputBuffer {
public:
    OutputBuffer() = default;
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;
    ~OutputBuffer() { Flush(); }

    void Append(std::string_view text)
    {
        data_.append(text);
        if (data_.size() >= (std::size_t{1} << 20))
            Flush();
    }
    void Flush();

private:
    std::string data_;
};
