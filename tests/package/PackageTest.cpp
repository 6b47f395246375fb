// The Debian packages of this build, made by CPack and handled by dpkg in a scratch root: what
// they hold and need, the registry written by the maintainer script and kept by an upgrade,
// nothing left by a removal but the administrator's system root, and that gone after a purge.
#include <algorithm>

#include "tests/package/Scratch.h"
#include "tools/tasim/Adapter.h"

namespace fs = std::filesystem;

namespace {

constexpr char kVersion[] = "1.0";
constexpr char kUpgrade[] = "1.0.1";

class PackageTest : public ScratchTest {
  protected:
    fs::path Admin() const { return m_scratch / "var/lib/dpkg"; }

    // dpkg on the scratch root; the maintainer scripts run outside it with DPKG_ROOT set, and
    // the scratch root has none of the system's packages to satisfy the dependencies.
    ShellRun Dpkg(const std::string& arguments) const {
        return Shell("dpkg --root=" + Quoted(m_scratch) +
                     " --force-script-chrootless --force-depends --force-not-root " + arguments);
    }
    // The quilan package of another version, repacked from `package` (uncompressed: quickly).
    fs::path Repacked(const fs::path& package, const std::string& version) const {
        fs::path tree = m_scratch.parent_path() / (m_scratch.filename().string() + "-repack");
        fs::path repacked = m_scratch / "packages" / ("quilan_" + version + ".deb");
        ShellRun run =
            Shell("dpkg-deb -R " + Quoted(package) + " " + Quoted(tree) +
                  " && sed -i 's/^Version: .*/Version: " + version + "/' " +
                  Quoted(tree / "DEBIAN/control") + " && dpkg-deb --root-owner-group -Znone -b " +
                  Quoted(tree) + " " + Quoted(repacked) + " >/dev/null");
        fs::remove_all(tree);
        EXPECT_EQ(run.status, 0) << run.output;
        return repacked;
    }
    // Files and links left outside dpkg's own records.
    std::vector<std::string> Left() const {
        std::vector<std::string> left;
        for (auto it = fs::recursive_directory_iterator(m_scratch);
             it != fs::recursive_directory_iterator(); ++it) {
            fs::path relative = fs::relative(it->path(), m_scratch);
            if (relative == "var" || relative == "packages") {
                it.disable_recursion_pending();
            } else if (!it->is_directory() || it->is_symlink()) {
                left.push_back(relative.string());
            }
        }
        std::sort(left.begin(), left.end());
        return left;
    }
};

TEST_F(PackageTest, InstallsUpgradesRemovesAndPurgesInAScratchRoot) {
    fs::path packages = m_scratch / "packages";
    ShellRun made = Shell("cd " + Quoted(BUILD_DIR) + " && cpack -G DEB -B " + Quoted(packages));
    ASSERT_EQ(made.status, 0) << made.output;
    fs::path quilan = packages / ("quilan_" + std::string(kVersion) + "_" + DEB_ARCH + ".deb");
    fs::path tools = packages / ("quilan-tools_" + std::string(kVersion) + "_" + DEB_ARCH + ".deb");
    ASSERT_TRUE(fs::exists(quilan)) << made.output;
    ASSERT_TRUE(fs::exists(tools)) << made.output;

    {
        SCOPED_TRACE("what the packages hold and need");
        ShellRun contents = Shell("dpkg-deb -c " + Quoted(quilan));
        EXPECT_NE(contents.output.find("./usr/bin/quilanctl"), std::string::npos);
        EXPECT_NE(contents.output.find("./" + (kLibDir / "ornapanel.cpl").string()),
                  std::string::npos);
        EXPECT_EQ(contents.output.find("./etc/"), std::string::npos) << contents.output;
        EXPECT_EQ(contents.output.find("tasim"), std::string::npos) << contents.output;
        ShellRun depends = Shell("dpkg-deb -f " + Quoted(quilan) + " Depends");
        for (const char* library : {"libc6", "libstdc++6", "libgcc-s1", "libtinfo6"}) {
            EXPECT_NE(depends.output.find(library), std::string::npos) << depends.output;
        }
        EXPECT_EQ(depends.output.find("quilan"), std::string::npos) << depends.output;
        ShellRun toolsContents = Shell("dpkg-deb -c " + Quoted(tools));
        EXPECT_NE(toolsContents.output.find("./usr/bin/tasim"), std::string::npos);
        EXPECT_NE(toolsContents.output.find("./usr/share/man/man1/mkelm.1.gz"), std::string::npos);
        ShellRun toolsDepends = Shell("dpkg-deb -f " + Quoted(tools) + " Depends");
        EXPECT_NE(toolsDepends.output.find("quilan (= 1.0)"), std::string::npos)
            << toolsDepends.output;
    }

    fs::create_directories(Admin() / "info");
    fs::create_directories(Admin() / "updates");
    std::ofstream(Admin() / "status");
    {
        SCOPED_TRACE("first installation");
        ShellRun installed = Dpkg("-i " + Quoted(quilan) + " " + Quoted(tools));
        ASSERT_EQ(installed.status, 0) << installed.output;
        EXPECT_EQ(ReadFile(Root() / "registry.reg"), kInstalledRegistry);
        tasim::Adapter card;
        ASSERT_TRUE(card.Start(Root(), "COM3"));
        ShellRun got = Installed("quilanctl", "profiles get COM3");
        EXPECT_EQ(got.status, 0) << got.output;
        EXPECT_NE(got.output.find("\"Region\": \"North America\""), std::string::npos);
    }
    std::string edited;
    {
        SCOPED_TRACE("an upgrade keeps the edited registry");
        ShellRun named = Installed("quilan-regedit", "'" + std::string(kProfileNamesKey) +
                                                         "' Profile0=Office Profile2=Lab");
        ASSERT_EQ(named.status, 0) << named.output;
        edited = ReadFile(Root() / "registry.reg");
        ShellRun upgraded = Dpkg("-i " + Quoted(Repacked(quilan, kUpgrade)));
        ASSERT_EQ(upgraded.status, 0) << upgraded.output;
        EXPECT_NE(Dpkg("-s quilan").output.find("Version: 1.0.1"), std::string::npos);
        EXPECT_EQ(ReadFile(Root() / "registry.reg"), edited);
    }
    {
        SCOPED_TRACE("a removal leaves only the system root");
        ShellRun removed = Dpkg("-r quilan-tools quilan");
        ASSERT_EQ(removed.status, 0) << removed.output;
        EXPECT_EQ(Left(), (std::vector<std::string>{"etc/quilan/registry.reg",
                                                    "etc/quilan/registry.reg.lock"}));
        EXPECT_EQ(ReadFile(Root() / "registry.reg"), edited);
    }
    {
        SCOPED_TRACE("a purge removes it");
        ShellRun purged = Dpkg("-P quilan");
        ASSERT_EQ(purged.status, 0) << purged.output;
        EXPECT_FALSE(fs::exists(Root()));
        EXPECT_EQ(Left(), std::vector<std::string>{});
    }
}

}  // namespace
