// An application that links Vo::shape but calls nothing of it, linked with --as-needed: the package
// must still register, through the reference the imported target compiles into every target. Only
// the prefixed include path (<prefix>/include) is given.
#include <VoShape/host/InBuildInfo.h>
#include <VoShape/host/InBuildInfoUtil.h>
#include <VoShape/host/InPackageRegistry.h>

#include <iostream>

int main() {
    Vo::InPackageRegistry::instance().initializeAll();
    const Vo::InBuildInfo *info = Vo::InBuildInfoUtil::findInfo("libVoshape");
    if (info == nullptr) {
        std::cerr << "libVoshape did not register\n";
        return 1;
    }
    std::cout << "registered: " << info->getLibraryName() << " " << info->getVersion() << "\n";
    return 0;
}
