// Arbitrary bytes as the encoder's progress output and log, cut into reads of
// varying size, through what the crop job reads of them.
#include "crop/EncoderOutput.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 9)
        return 0;
    // The first eight bytes choose the length asked for, including 0, negatives and NaN.
    double asked = 0;
    std::memcpy(&asked, data, sizeof asked);
    data += 8;
    size -= 8;

    EncoderOutput output;
    size_t offset = 0;
    while (offset < size) {
        // Each read's length comes from its first byte.
        const size_t length = std::min<size_t>(size - offset, 1 + data[offset] % 64);
        const QByteArray chunk(reinterpret_cast<const char *>(data + offset), qsizetype(length));
        offset += length;
        for (const EncoderProgress &report : output.feedProgress(chunk)) {
            const ProgressFigures figures = figuresOf(report, asked);
            if (!std::isfinite(figures.percent) || figures.percent < 0 || figures.percent > 100
                || (figures.secondsLeft && !(*figures.secondsLeft >= 0)))
                std::abort();
        }
        output.keepMessage(QString::fromUtf8(chunk));
    }
    (void)output.decisiveMessage();
    return 0;
}
