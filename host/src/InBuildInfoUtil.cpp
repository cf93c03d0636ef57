#include "host/InBuildInfoUtil.h"

#include "base/RCExUtil.h"

#include <cstring>
#include <memory>

namespace Vo {

InBuildInfo::~InBuildInfo() = default;

namespace {
std::vector<std::unique_ptr<const InBuildInfo>> &records() {
    static std::vector<std::unique_ptr<const InBuildInfo>> all;
    return all;
}
} // namespace

// The room is taken before the record changes hands, so that a failed allocation leaves it with
// the caller's OPtr, which frees it.
const InBuildInfo &InBuildInfoUtil::registerInfo(OPtr<InBuildInfo> info) {
    if (info.get() == nullptr) {
        RCExUtil::throwExNullPtr("OPtr<InBuildInfo>");
    }
    records().reserve(records().size() + 1);
    records().emplace_back(info.release());
    return *records().back();
}

const InBuildInfo *InBuildInfoUtil::findInfo(const char *libraryName) {
    for (const auto &record : records()) {
        if (libraryName != nullptr && std::strcmp(record->getLibraryName(), libraryName) == 0) {
            return record.get();
        }
    }
    return nullptr;
}

std::vector<const InBuildInfo *> InBuildInfoUtil::getInfos() {
    std::vector<const InBuildInfo *> all;
    for (const auto &record : records()) {
        all.push_back(record.get());
    }
    return all;
}

} // namespace Vo
