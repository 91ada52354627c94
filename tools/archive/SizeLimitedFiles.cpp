#include "SizeLimitedFiles.h"

#include "platform/PlatformErrors.h"

#include <algorithm>

namespace {

class TSizeLimitedFile : public sw::IFile {
  public:
    TSizeLimitedFile(std::unique_ptr<sw::IFile> file, uint64_t limit) : file_(std::move(file)), limit_(limit) {}

    using sw::IFile::Write;
    // Writes what fits below the limit, then fails as a full disk does.
    void Write(const void* data, size_t size) override {
        const uint64_t position = file_->Seek(0, sw::SeekOrigin::Current);
        const uint64_t room = position < limit_ ? limit_ - position : 0;
        const size_t fits = static_cast<size_t>(std::min<uint64_t>(size, room));
        if (fits > 0)
            file_->Write(data, fits);
        if (fits < size)
            throw sw::EFileIOError("The volume is full", true);
    }

    size_t Read(void* buffer, size_t size) override { return file_->Read(buffer, size); }
    uint64_t Seek(int64_t offset, sw::SeekOrigin origin) override { return file_->Seek(offset, origin); }
    uint64_t Size() override { return file_->Size(); }
    sw::FileStamp Stamp() override { return file_->Stamp(); }
    void SetStamp(sw::FileStamp stamp) override { file_->SetStamp(stamp); }

  private:
    std::unique_ptr<sw::IFile> file_;
    const uint64_t limit_;
};

} // namespace

std::unique_ptr<sw::IFile> TSizeLimitedFiles::OpenFile(const std::string& path, sw::FileMode mode) {
    std::unique_ptr<sw::IFile> file = files_.OpenFile(path, mode);
    if (!file || mode != sw::FileMode::Create)
        return file;
    return std::make_unique<TSizeLimitedFile>(std::move(file), limit_);
}
