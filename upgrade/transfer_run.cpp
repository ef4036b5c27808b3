#include "upgrade/transfer_run.h"

#include <cstdio>

namespace qirelo::upgrade {

bool TransferRun::Keep(Slot slot, platform::inet::HInternet handle) {
    std::unique_lock lock(mutex_);
    if (stopped_) {
        lock.unlock();
        if (handle != platform::inet::kNoHandle) {
            internet_.CloseHandle(handle);
        }
        return false;
    }
    handles_[static_cast<int>(slot)] = handle;
    return true;
}

platform::inet::HInternet TransferRun::Handle(Slot slot) const {
    std::lock_guard lock(mutex_);
    return handles_[static_cast<int>(slot)];
}

bool TransferRun::KeepLocalFile(std::FILE* file) {
    std::unique_lock lock(mutex_);
    if (stopped_) {
        if (file) {
            std::fclose(file);
        }
        return false;
    }
    localFile_ = file;
    return true;
}

std::optional<std::size_t> TransferRun::ReadLocalFile(char* buffer, std::size_t size) {
    std::lock_guard lock(mutex_);
    if (stopped_ || !localFile_) {
        return std::nullopt;
    }
    return std::fread(buffer, 1, size, localFile_);
}

bool TransferRun::SetTarget(std::shared_ptr<TupStream> target) {
    std::lock_guard lock(mutex_);
    if (stopped_) {
        return false;
    }
    target_ = std::move(target);
    return true;
}

bool TransferRun::Write(const char* bytes, std::size_t count) {
    std::lock_guard lock(mutex_);
    if (stopped_ || !target_) {
        return false;
    }
    target_->Write(bytes, count);
    return true;
}

std::shared_ptr<TupMemoryStream> TransferRun::MemoryTarget() const {
    std::lock_guard lock(mutex_);
    if (stopped_) {
        return nullptr;
    }
    return std::dynamic_pointer_cast<TupMemoryStream>(target_);
}

std::shared_ptr<TupStream> TransferRun::ReleaseTarget() {
    std::lock_guard lock(mutex_);
    return std::move(target_);
}

void TransferRun::CloseAll() {
    platform::inet::HInternet handles[3];
    {
        std::lock_guard lock(mutex_);
        for (int i = 0; i < 3; ++i) {
            handles[i] = handles_[i];
            handles_[i] = platform::inet::kNoHandle;
        }
        if (localFile_) {
            std::fclose(localFile_);
            localFile_ = nullptr;
        }
    }
    // The request first, the session last, as they were opened the other way round.
    for (int i = 2; i >= 0; --i) {
        if (handles[i] != platform::inet::kNoHandle) {
            internet_.CloseHandle(handles[i]);
        }
    }
}

bool TransferRun::StopAndCleanUp() {
    {
        std::lock_guard lock(mutex_);
        if (stopped_) {
            return false;
        }
        stopped_ = true;
    }
    CloseAll();
    std::shared_ptr<TupStream> target = ReleaseTarget();
    std::string path;
    if (auto* file = dynamic_cast<TupFileStream*>(target.get())) {
        path = file->Path();
    }
    target.reset();
    if (DeleteOnStop && !path.empty()) { // a file target is one this run created
        std::remove(path.c_str());
    }
    return true;
}

bool TransferRun::Stopped() const {
    std::lock_guard lock(mutex_);
    return stopped_;
}

} // namespace qirelo::upgrade
