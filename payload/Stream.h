// The byte sources the reader works with: entry data are read forward only,
// archives also seek.
#pragma once

#include <cstddef>
#include <cstdint>

class TStream {
public:
    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;
    virtual ~TStream() = default;

    // Up to count bytes; fewer only where the data end.
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;

    // Reads until count bytes or the end of the data; the bytes read.
    std::size_t ReadFully(void* buffer, std::size_t count) {
        auto* out = static_cast<std::uint8_t*>(buffer);
        std::size_t done = 0;
        while (done < count) {
            const std::size_t n = Read(out + done, count - done);
            if (n == 0) break;
            done += n;
        }
        return done;
    }
};

enum class SeekOrigin { Begin, Current, End };

class TSeekableStream : public TStream {
public:
    // The new position from the start.
    virtual std::int64_t Seek(std::int64_t offset, SeekOrigin origin) = 0;
    virtual std::int64_t Size() = 0;
    std::int64_t Position() { return Seek(0, SeekOrigin::Current); }
};
