// Loads the real libVoshape at run time into a process that links only the host stand-in, and
// checks what its one static initialiser did to the package registry.
#include "host/InBuildInfoUtil.h"
#include "host/InInit.h"
#include "host/InPackageRegistry.h"
#include "base/RCExNullPtr.h"
#include "base/RCTypeName.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace Vo;

std::vector<std::string> dependencyNames(const InPackageInit &package) {
    std::vector<std::string> names;
    for (const std::type_info *type : package.getDependencies()) {
        names.push_back(RCTypeName::readable(*type));
    }
    return names;
}

std::ptrdiff_t positionOf(const std::vector<std::string> &order, const std::string &name) {
    return std::find(order.begin(), order.end(), name) - order.begin();
}

TEST(PackageLoad, LoadingTheLibraryRegistersShapeAfterItsFiveDependencies) {
    ASSERT_EQ(InPackageRegistry::instance().findPackage("shape"), nullptr);

    void *library = dlopen(VOSHAPE_LIBRARY_FILE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();

    InPackageInit *shape = InPackageRegistry::instance().findPackage("shape");
    ASSERT_NE(shape, nullptr);
    EXPECT_STREQ(shape->getName(), "shape");
    EXPECT_EQ(RCTypeName::readable(typeid(*shape)), "Vo::InInit<VoInit::shape>");
    const std::vector<const std::type_info *> expected = {
        InInit<VoInit::internalAPI>::getType(), InInit<VoInit::primitives>::getType(),
        InInit<VoInit::resmgt>::getType(), InInit<VoInit::pluginAPI>::getType(),
        InInit<VoInit::base>::getType()};
    ASSERT_EQ(shape->getDependencies().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(*shape->getDependencies()[i] == *expected[i]) << dependencyNames(*shape)[i];
    }

    EXPECT_EQ(InBuildInfoUtil::findInfo("libVoshape"), nullptr);
    InPackageRegistry::instance().initializeAll();
    EXPECT_TRUE(InPackageRegistry::instance().isInitialized(shape));
    const std::vector<std::string> &order = InPackageRegistry::instance().getInitializationOrder();
    const std::ptrdiff_t shapeAt = positionOf(order, "shape");
    ASSERT_LT(shapeAt, static_cast<std::ptrdiff_t>(order.size()));
    for (const char *dependency : {"internalAPI", "primitives", "resmgt", "pluginAPI", "base"}) {
        EXPECT_LT(positionOf(order, dependency), shapeAt) << dependency;
    }

    const InBuildInfo *info = InBuildInfoUtil::findInfo("libVoshape");
    ASSERT_NE(info, nullptr);
    EXPECT_STREQ(info->getProductName(), "Corvane Quarn Library");
    EXPECT_STREQ(info->getProductRelease(), "2013");
    EXPECT_STREQ(info->getVersion(), "8.0");
    EXPECT_STREQ(info->getBuildTag(), "");
    EXPECT_EQ(info->getVersionMajor(), 8);
    EXPECT_EQ(info->getVersionMinor(), 0);
    EXPECT_EQ(info->getBuildType(), 42);
    EXPECT_STREQ(info->getBuildNumber(), "2600");
    EXPECT_STREQ(info->getBuildDate(), "Jun 12 2012");
    EXPECT_STREQ(info->getBuildConfiguration(), "opt.x86_64.intel");

    // A second initialisation initialises nothing twice.
    const std::size_t initialised = order.size();
    InPackageRegistry::instance().initializeAll();
    EXPECT_EQ(InPackageRegistry::instance().getInitializationOrder().size(), initialised);
}

TEST(PackageLoad, ANullBuildRecordIsRefusedAndNothingIsRegistered) {
    const std::size_t before = InBuildInfoUtil::getInfos().size();
    EXPECT_THROW(InBuildInfoUtil::registerInfo(OPtr<InBuildInfo>()), RCExNullPtr);
    EXPECT_EQ(InBuildInfoUtil::getInfos().size(), before);
}

} // namespace
