// Reads a form's stream into live components: creates each object from the
// class registry, owned by the root, assigns its properties through the
// property tables, resolves references and event handlers after the whole
// stream, then notifies end of loading, the root first.
#pragma once

#include "project/Component.h"
#include "project/StreamRecord.h"

#include <optional>
#include <string>
#include <string_view>

namespace sw {

// Reads `bytes` into `root`, or into a new root created from the registry when
// `root` is null; returns the root. On failure everything created for the
// stream is freed (and the root too when the reader created it) and the error
// is passed on; stream errors as "Error reading %s%s%s: %s".
TComponent* ReadComponentStream(std::string_view bytes, TComponent* root);
TComponent* ReadComponentRecords(const TObjectRecord& record, TComponent* root);

// Assigns one stream value to a property of `target` (no path); references and
// events must be resolved by the caller, so they are refused here.
void AssignPropertyValue(TPersistent& target, const TPropInfo& prop, const TStreamValue& value);

// The text a string property receives from `value` (tags 6, 12 and 18, wide
// strings through the system code page); none for the other tags.
std::optional<std::string> StringValue(const TStreamValue& value);

} // namespace sw
