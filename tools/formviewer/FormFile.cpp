#include "FormFile.h"

#include "project/ClassRegistry.h"
#include "project/Reader.h"
#include "project/StreamRecord.h"
#include "project/TextForm.h"

#include <algorithm>

namespace sw::viewer {

namespace {

void DropEvents(TObjectRecord& record) {
    if (const TRegisteredClass* cls = FindClass(record.ClassName)) {
        auto isEvent = [&](const TStreamProperty& p) {
            const TPropInfo* info = cls->Info->FindProperty(p.Path);
            return info && info->Kind == TPropKind::Event;
        };
        record.Properties.erase(std::remove_if(record.Properties.begin(), record.Properties.end(), isEvent),
                                record.Properties.end());
    }
    for (auto& child : record.Children)
        DropEvents(child);
}

} // namespace

TCustomForm* ReadFormForViewing(const std::string& bytes, const std::string& fileName) {
    bool binary = bytes.compare(0, 3, "TPF") == 0 || bytes.find('\0') != std::string::npos;
    TObjectRecord record = binary ? ReadStreamRecords(bytes) : TextToRecords(bytes, fileName);
    const TRegisteredClass* root = FindClass(record.ClassName);
    if (!root || !root->Info->InheritsFrom(TCustomForm::StaticClassInfo()))
        record.ClassName = "TForm";
    DropEvents(record);
    TComponent* read = ReadComponentRecords(record, nullptr);
    return static_cast<TCustomForm*>(read);
}

} // namespace sw::viewer
