// The POSIX environment adapter: the raw command line as the program saw it,
// and where the common documents folder is taken from.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/posix/PosixAdapters.h"

namespace kv::platform::posix {
namespace {

// Sets or clears a variable for one test and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = old;
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedVariable() {
        if (m_old) {
            setenv(m_name, m_old->c_str(), 1);
        } else {
            unsetenv(m_name);
        }
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

std::string Documents(const char* common, const char* xdg, const char* home) {
    const ScopedVariable a("KV_COMMON_DOCUMENTS", common), b("XDG_DOCUMENTS_DIR", xdg), c("HOME", home);
    return PosixEnvironment(0, nullptr).CommonDocumentsFolder();
}

TEST(PosixEnvironment, RawCommandLineIsTheArgumentsJoinedBySingleBlanks) {
    char program[] = "./KV_DS_Ctrl", led[] = "LED", on[] = "on", spaced[] = "my ev5", empty[] = "";
    char* argv[] = {program, led, on, spaced, empty};
    EXPECT_EQ(PosixEnvironment(5, argv).RawCommandLine(), "./KV_DS_Ctrl LED on my ev5 ");
    EXPECT_EQ(PosixEnvironment(1, argv).RawCommandLine(), "./KV_DS_Ctrl");
    EXPECT_EQ(PosixEnvironment(0, nullptr).RawCommandLine(), "");
    char* spacedProgram[] = {spaced, led};
    EXPECT_EQ(PosixEnvironment(2, spacedProgram).RawCommandLine(), "\"my ev5\" LED") << "a path with blanks is quoted";
}

TEST(PosixEnvironment, CommonDocumentsFolderFallsBackInOrder) {
    EXPECT_EQ(Documents("/srv/docs", "/home/u/Dokumente", "/home/u"), "/srv/docs");
    EXPECT_EQ(Documents(nullptr, "/home/u/Dokumente", "/home/u"), "/home/u/Dokumente");
    EXPECT_EQ(Documents("", "", "/home/u"), "/home/u/Documents");  // empty counts as unset
    EXPECT_EQ(Documents(nullptr, nullptr, nullptr), "/Documents");
}

}  // namespace
}  // namespace kv::platform::posix
