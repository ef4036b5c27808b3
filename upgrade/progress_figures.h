#pragma once

#include <cstdint>

namespace qirelo::upgrade {

// What OnTransferProgress reports after a block.
struct TProgressFigures {
    std::int64_t TotalSize = 0; // ContentLength + ResumePosition
    std::int64_t BytesDone = 0; // BytesRead + ResumePosition
    int ElapsedTime = 0;        // whole seconds since the start
    int EstimatedTimeLeft = 0;  // seconds
    std::uint8_t PercentsDone = 0;
    float TransferRate = -1; // kilobytes per second (per the whole time while under a second)
};

// The figures after `bytesRead` bytes, `elapsedMs` milliseconds after the start.
TProgressFigures ProgressFigures(std::int64_t contentLength, std::int64_t bytesRead,
                                 std::uint32_t resumePosition, std::uint32_t elapsedMs);

} // namespace qirelo::upgrade
