// Writes live components back to a stream: the root with its properties, then
// the components it owns, each control inside the record of its parent.
// Values equal to their declared default are not written; integers take the
// smallest tag that holds them, strings above 255 bytes the long-string tag.
#pragma once

#include "project/Component.h"
#include "project/StreamRecord.h"

namespace sw {

TObjectRecord ComponentToRecords(const TComponent& root);
std::string WriteComponentStream(const TComponent& root);

// The properties of one object as stream entries, each path prefixed.
void WriteProperties(const TPersistent& instance, const std::string& prefix, std::vector<TStreamProperty>& out);

} // namespace sw
