#include "upgrade/progress_figures.h"

#include <algorithm>
#include <cmath>

namespace qirelo::upgrade {

// Rounds half to even, as the figures always have.
static std::int64_t RoundToNearest(double value) {
    return static_cast<std::int64_t>(std::nearbyint(value));
}

TProgressFigures ProgressFigures(std::int64_t contentLength, std::int64_t bytesRead,
                                 std::uint32_t resumePosition, std::uint32_t elapsedMs) {
    TProgressFigures figures;
    figures.TotalSize = contentLength + resumePosition;
    figures.BytesDone = bytesRead + resumePosition;
    if (figures.TotalSize != 0) {
        const std::int64_t percent =
            RoundToNearest(static_cast<double>(figures.BytesDone) * 100 / figures.TotalSize);
        // More bytes than announced must not wrap round to a small figure.
        figures.PercentsDone = static_cast<std::uint8_t>(std::clamp<std::int64_t>(percent, 0, 255));
    }
    figures.ElapsedTime = static_cast<int>(elapsedMs / 1000);
    if (bytesRead != 0) {
        figures.EstimatedTimeLeft =
            static_cast<int>(RoundToNearest(static_cast<double>(contentLength) / bytesRead *
                                            figures.ElapsedTime)) -
            figures.ElapsedTime;
    }
    figures.TransferRate = static_cast<float>(bytesRead / 1024.0);
    if (figures.ElapsedTime != 0) {
        figures.TransferRate /= static_cast<float>(figures.ElapsedTime);
    }
    return figures;
}

} // namespace qirelo::upgrade
