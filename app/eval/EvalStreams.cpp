// SPDX-License-Identifier: GPL-3.0-or-later
#include "EvalStreams.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>

// Blocking reads of /dev/stdin (a new description of the same pipe or file,
// without the O_NONBLOCK Node may have put on descriptor 0); descriptor 0
// where there is no /dev/stdin. 0 at the end.
EM_JS(int, NodeReadInput, (char* data, int size), {
    const fs = require('fs');
    if (Module.evalInput === undefined) {
        try {
            Module.evalInput = fs.openSync('/dev/stdin', 'r');
        } catch (e) {
            Module.evalInput = 0;
        }
    }
    for (;;) {
        try {
            return fs.readSync(Module.evalInput, HEAPU8, data, size, null);
        } catch (e) {
            if (e.code === 'EOF')
                return 0;
            if (e.code !== 'EAGAIN')
                throw e;
        }
    }
});

EM_JS(void, NodeWriteOutput, (const char* data, int size), {
    const fs = require('fs');
    let done = 0;
    while (done < size) {
        try {
            done += fs.writeSync(1, HEAPU8, data + done, size - done);
        } catch (e) {
            if (e.code !== 'EAGAIN')
                throw e;
        }
    }
});

namespace {

std::size_t ReadInput(char* data, std::size_t size)
{
    return static_cast<std::size_t>(NodeReadInput(data, static_cast<int>(size)));
}

void WriteOutput(const char* data, std::size_t size)
{
    NodeWriteOutput(data, static_cast<int>(size));
}

}  // namespace

#else
#include <cerrno>
#include <unistd.h>

namespace {

// What is there, without waiting for a whole block: a pipe fed line by
// line is answered line by line.
std::size_t ReadInput(char* data, std::size_t size)
{
    while (true) {
        const ssize_t read = ::read(0, data, size);
        if (read >= 0)
            return static_cast<std::size_t>(read);
        if (errno != EINTR)
            return 0;
    }
}

void WriteOutput(const char* data, std::size_t size)
{
    std::fwrite(data, 1, size, stdout);
    std::fflush(stdout);
}

}  // namespace

#endif

bool InputLines::Next(std::string_view& line)
{
    while (true) {
        const char* first = buffer_.data() + begin_;
        if (const void* newline = std::memchr(first, '\n', end_ - begin_)) {
            const auto length = static_cast<std::size_t>(static_cast<const char*>(newline) - first);
            line = std::string_view(first, length);
            begin_ += length + 1;
            return true;
        }
        if (ended_) {
            if (begin_ == end_)
                return false;
            line = std::string_view(first, end_ - begin_);
            begin_ = end_;
            return true;
        }
        // Keep the partial line at the front, make room, read on.
        std::copy(buffer_.begin() + static_cast<std::ptrdiff_t>(begin_),
                  buffer_.begin() + static_cast<std::ptrdiff_t>(end_), buffer_.begin());
        end_ -= begin_;
        begin_ = 0;
        if (end_ == buffer_.size())
            buffer_.resize(buffer_.size() * 2);
        const std::size_t read = ReadInput(buffer_.data() + end_, buffer_.size() - end_);
        if (read == 0)
            ended_ = true;
        end_ += read;
    }
}

void OutputBuffer::Flush()
{
    if (!data_.empty())
        WriteOutput(data_.data(), data_.size());
    data_.clear();
}
