#include "platform/XdgDirectories.h"

#include <gtest/gtest.h>

#include "support/ScopedEnvironment.h"

namespace {

using platform::XdgDirectories;
using Paths = std::vector<std::filesystem::path>;

TEST(XdgDirectoriesTest, VariablesThatAreSetWin) {
    ScopedEnvironment environment;
    environment.Set("HOME", "/home/someone");
    environment.Set("XDG_CONFIG_HOME", "/cfg");
    environment.Set("XDG_CONFIG_DIRS", "/etc/one:relative/ignored::/etc/two");
    environment.Set("XDG_DATA_HOME", "/data");
    environment.Set("XDG_DATA_DIRS", "/share/a:/share/b");
    const XdgDirectories directories = XdgDirectories::FromEnvironment();
    EXPECT_EQ(directories.configHome, "/cfg");
    EXPECT_EQ(directories.configDirs, (Paths{"/etc/one", "/etc/two"}));
    EXPECT_EQ(directories.dataHome, "/data");
    EXPECT_EQ(directories.dataDirs, (Paths{"/share/a", "/share/b"}));
}

TEST(XdgDirectoriesTest, UnsetEmptyOrRelativeVariablesTakeTheDefaults) {
    ScopedEnvironment environment;
    environment.Set("HOME", "/home/someone");
    environment.Unset("XDG_CONFIG_HOME");
    environment.Set("XDG_CONFIG_DIRS", "");
    environment.Set("XDG_DATA_HOME", "relative/share");
    environment.Unset("XDG_DATA_DIRS");
    const XdgDirectories directories = XdgDirectories::FromEnvironment();
    EXPECT_EQ(directories.configHome, "/home/someone/.config");
    EXPECT_EQ(directories.configDirs, Paths{"/etc/xdg"});
    EXPECT_EQ(directories.dataHome, "/home/someone/.local/share");
    EXPECT_EQ(directories.dataDirs, (Paths{"/usr/local/share", "/usr/share"}));

    environment.Unset("HOME");
    const XdgDirectories homeless = XdgDirectories::FromEnvironment();
    EXPECT_TRUE(homeless.configHome.empty());
    EXPECT_TRUE(homeless.dataHome.empty());
    EXPECT_EQ(homeless.ApplicationDirectories(),
              (Paths{"/usr/local/share/applications", "/usr/share/applications"}));
}

TEST(XdgDirectoriesTest, SearchOrderIsPerUserFirst) {
    XdgDirectories directories;
    directories.configHome = "/cfg";
    directories.configDirs = {"/etc/xdg"};
    directories.dataHome = "/data";
    directories.dataDirs = {"/usr/share"};
    EXPECT_EQ(directories.ApplicationDirectories(),
              (Paths{"/data/applications", "/usr/share/applications"}));
    EXPECT_EQ(directories.MimeAppsLists(),
              (Paths{"/cfg/mimeapps.list", "/etc/xdg/mimeapps.list",
                     "/data/applications/mimeapps.list", "/usr/share/applications/mimeapps.list"}));
}

}  // namespace
