#include "platform/SizeLimitedFiles.h"

#include "platform/PlatformErrors.h"
#include "project/Text.h"

#include <algorithm>

namespace sw {

namespace {

class SizeLimitedFile : public IFile {
  public:
    SizeLimitedFile(std::unique_ptr<IFile> file, uint64_t limit) : file_(std::move(file)), limit_(limit) {}

    using IFile::Write;
    // Writes what fits below the limit, then fails as a full disk does.
    void Write(const void* data, size_t size) override {
        const uint64_t position = file_->Seek(0, SeekOrigin::Current);
        const uint64_t room = position < limit_ ? limit_ - position : 0;
        const size_t fits = static_cast<size_t>(std::min<uint64_t>(size, room));
        if (fits > 0)
            file_->Write(data, fits);
        if (fits < size)
            throw EFileIOError("The disk is full", true);
    }

    size_t Read(void* buffer, size_t size) override { return file_->Read(buffer, size); }
    uint64_t Seek(int64_t offset, SeekOrigin origin) override { return file_->Seek(offset, origin); }
    uint64_t Size() override { return file_->Size(); }
    FileStamp Stamp() override { return file_->Stamp(); }
    void SetStamp(FileStamp stamp) override { file_->SetStamp(stamp); }

  private:
    std::unique_ptr<IFile> file_;
    const uint64_t limit_;
};

} // namespace

std::unique_ptr<IFile> SizeLimitedFiles::OpenFile(const std::string& path, FileMode mode) {
    std::unique_ptr<IFile> file = files_.OpenFile(path, mode);
    const std::string prefix = folder_ + "\\";
    const bool below =
        folder_.empty() || (path.size() > prefix.size() && SameText(path.substr(0, prefix.size()), prefix));
    if (!file || !below || mode == FileMode::Read)
        return file;
    return std::make_unique<SizeLimitedFile>(std::move(file), limit_);
}

} // namespace sw
