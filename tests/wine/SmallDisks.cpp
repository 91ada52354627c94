#include "SmallDisks.h"

#include "platform/PlatformErrors.h"
#include "project/Text.h"

#include <algorithm>

namespace sw::test {

namespace {

// An open file on a small disk: writing stops at the disk's last byte.
class SmallDiskFile : public IFile {
  public:
    SmallDiskFile(std::unique_ptr<IFile> file, uint64_t capacity) : file_(std::move(file)), capacity_(capacity) {}

    size_t Read(void* buffer, size_t size) override { return file_->Read(buffer, size); }
    void Write(const void* data, size_t size) override {
        const uint64_t at = file_->Seek(0, SeekOrigin::Current);
        const size_t fits = static_cast<size_t>(std::min<uint64_t>(size, at < capacity_ ? capacity_ - at : 0));
        file_->Write(data, fits);
        if (fits < size)
            throw EFileIOError("The disk is full", true);
    }
    uint64_t Seek(int64_t offset, SeekOrigin origin) override { return file_->Seek(offset, origin); }
    uint64_t Size() override { return file_->Size(); }
    FileStamp Stamp() override { return file_->Stamp(); }
    void SetStamp(FileStamp stamp) override { file_->SetStamp(stamp); }

  private:
    std::unique_ptr<IFile> file_;
    uint64_t capacity_;
};

} // namespace

std::unique_ptr<IFile> SmallDisks::OpenFile(const std::string& path, FileMode mode) {
    std::unique_ptr<IFile> file = Win32FileSystem::OpenFile(path, mode);
    const std::string prefix = drives_ + "\\";
    const bool onDisk = path.size() > prefix.size() && SameText(path.substr(0, prefix.size()), prefix);
    if (!file || !onDisk || mode == FileMode::Read)
        return file;
    return std::make_unique<SmallDiskFile>(std::move(file), bytesPerDisk_);
}

} // namespace sw::test
