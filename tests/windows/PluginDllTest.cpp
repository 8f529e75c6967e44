// The plug-in DLL as Windows and the host see it: its version resource, read back from the file
// both by hand and by the system, and its entry points, loaded into this FINALE.EXE.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "PeImage.h"
#include "Platform.h"
#include "PlovikTie.h"
#include "VersionInfo.h"

namespace {

const char kPlugin[] = PLOVIK_PLUGIN_DLL;

uint32_t U32(const std::vector<uint8_t>& bytes, size_t offset) {
    uint32_t value = 0;
    if (offset + 4 <= bytes.size()) std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

}  // namespace

TEST(WindowsPluginDll, VersionResourceCarriesEveryField) {
    PeImage dll;
    ASSERT_TRUE(dll.Load(kPlugin)) << dll.Error();
    std::vector<PeImage::Resource> versions;
    for (PeImage::Resource& resource : dll.Resources())
        if (resource.type == 16) versions.push_back(std::move(resource));
    ASSERT_EQ(versions.size(), 1u) << "one version resource";
    EXPECT_EQ(versions[0].id, 1u);
    EXPECT_EQ(versions[0].language, 0x0409u) << "U.S. English";

    VersionInfo info;
    ASSERT_TRUE(info.Parse(versions[0].data)) << info.Error();
    const VersionInfo::Node& root = info.Root();
    EXPECT_EQ(root.key, "VS_VERSION_INFO");
    ASSERT_EQ(root.bytes.size(), 52u) << "VS_FIXEDFILEINFO";
    EXPECT_EQ(U32(root.bytes, 0), 0xFEEF04BDu);
    EXPECT_EQ(U32(root.bytes, 8), 0x00010000u) << "file version 1.0";
    EXPECT_EQ(U32(root.bytes, 12), 0x00020000u) << "file version .2.0";
    EXPECT_EQ(U32(root.bytes, 16), 0x00010000u) << "product version 1.0";
    EXPECT_EQ(U32(root.bytes, 20), 0x00020000u) << "product version .2.0";
    EXPECT_EQ(U32(root.bytes, 32), 4u) << "the 32-bit Windows API";
    EXPECT_EQ(U32(root.bytes, 36), 2u) << "a DLL";

    const VersionInfo::Node* strings = root.Child("StringFileInfo");
    ASSERT_NE(strings, nullptr);
    ASSERT_EQ(strings->children.size(), 1u);
    const VersionInfo::Node& table = strings->children[0];
    EXPECT_EQ(table.key, "040904E4") << "U.S. English, code page 1252";
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"FileDescription", "Plovik Tie plug-in for Finale(R)"},
        {"FileVersion", "1,0,2,0"},
        {"ProductName", "Plovik Tie"},
        {"ProductVersion", "1,0,2,0"},
    };
    ASSERT_EQ(table.children.size(), expected.size());
    for (const auto& [key, text] : expected) {
        const VersionInfo::Node* value = table.Child(key);
        ASSERT_NE(value, nullptr) << key;
        EXPECT_TRUE(value->text) << key;
        EXPECT_TRUE(value->terminated) << key;
        EXPECT_EQ(value->textValue, text) << key;
    }

    const VersionInfo::Node* vars = root.Child("VarFileInfo");
    ASSERT_NE(vars, nullptr);
    const VersionInfo::Node* translation = vars->Child("Translation");
    ASSERT_NE(translation, nullptr);
    ASSERT_EQ(translation->bytes.size(), 4u);
    EXPECT_EQ(U32(translation->bytes, 0), 0x04E40409u) << "language 0x0409, code page 1252";
}

TEST(WindowsPluginDll, SystemReadsTheSameVersion) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(kPlugin, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<uint8_t> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(kPlugin, 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00020000u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00020000u);

    auto text = [&](const char* key) {
        char* value = nullptr;
        UINT chars = 0;
        const std::string path = std::string("\\StringFileInfo\\040904E4\\") + key;
        if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &chars))
            return std::string("(missing)");
        return std::string(value);
    };
    EXPECT_EQ(text("FileDescription"), "Plovik Tie plug-in for Finale(R)");
    EXPECT_EQ(text("FileVersion"), "1,0,2,0");
    EXPECT_EQ(text("ProductName"), "Plovik Tie");
    EXPECT_EQ(text("ProductVersion"), "1,0,2,0");
}

TEST(WindowsPluginDll, HostFindsAndCallsTheEntryPointsByName) {
    HMODULE dll = LoadLibraryA(kPlugin);
    ASSERT_NE(dll, nullptr);
    auto version = reinterpret_cast<FinaleExtensionVersionFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(dll, "FinaleExtensionVersion")));
    auto init = reinterpret_cast<FinaleExtensionInitFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(dll, "FinaleExtensionInit")));
    auto enumerate = reinterpret_cast<FinaleExtensionEnumerateFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(dll, "FinaleExtensionEnumerate")));
    ASSERT_NE(version, nullptr);
    ASSERT_NE(init, nullptr);
    ASSERT_NE(enumerate, nullptr);
    EXPECT_EQ(GetProcAddress(dll, "FinaleExtensionVersion@4"), nullptr) << "plain names only";

    // __stdcall: a caller that got the convention wrong would not come back with its stack.
    EXPECT_EQ(version(0x0F000200u), 0x0F000200u);
    uint32_t flags = 6;
    EXPECT_EQ(init(0, &flags), 1u);
    EXPECT_EQ(flags, 7u);
    char item[196];
    EXPECT_EQ(enumerate(0, 1, item), 1u);
    EXPECT_STREQ(item, "Plovik Untie Notes");
    EXPECT_EQ(enumerate(0, 2, item), 0u);
    EXPECT_TRUE(FreeLibrary(dll));
}
