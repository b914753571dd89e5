// Arbitrary bytes as the encoder's standard error, cut into reads of varying
// size, through the progress parsing the crop job runs.
#include "crop/EncoderOutput.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 9)
        return 0;
    // The first eight bytes choose the duration, including 0, negatives and NaN.
    double duration = 0;
    std::memcpy(&duration, data, sizeof duration);
    data += 8;
    size -= 8;

    EncoderOutput output;
    size_t offset = 0;
    while (offset < size) {
        // Each read's length comes from its first byte.
        const size_t length = std::min<size_t>(size - offset, 1 + data[offset] % 64);
        const QByteArray chunk(reinterpret_cast<const char *>(data + offset), qsizetype(length));
        offset += length;
        if (const auto percent = output.feed(chunk, duration)) {
            if (!std::isfinite(*percent) || *percent < 0 || *percent > 100)
                std::abort();
        }
    }
    (void)output.lastMessages();
    return 0;
}
