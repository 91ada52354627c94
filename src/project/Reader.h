// Reads a form's stream into live components: creates each object from the
// class registry, owned by the root, assigns its properties through the
// property tables, resolves references and event handlers after the whole
// stream, then notifies end of loading, the root first.
#pragma once

#include "project/Component.h"
#include "project/StreamRecord.h"

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

// The 8-bit text of a wide string: units up to 255 as they are, others "?".
std::string WideToAnsi(const std::u16string& wide);

} // namespace sw
