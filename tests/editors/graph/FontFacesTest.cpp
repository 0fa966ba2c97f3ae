#include "document/FontSpec.h"
#include "document/ProfileStore.h"
#include "platform/InstalledFonts.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace vexa {
namespace {

// The machines the tests run on have the Liberation fonts, the metric
// twins of the common Windows faces.
TEST(FontFaces, WindowsFacesCountAsInstalledThroughTheirMetricTwins)
{
    const struct {
        const char* face;
        const char* twin;
        bool usable;
    } cases[] = {
        {"Arial", "Liberation Sans", true},
        {"Times New Roman", "Liberation Serif", true},
        {"Courier New", "Liberation Mono", true},
        {"Liberation Sans", "", true},
        {"NoSuchFaceAnywhere", "", false},
        {"Calibri", "", false},  // its twin is not installed here
        {"", "", false},
    };
    for (const auto& each : cases) {
        EXPECT_EQ(MetricCompatibleFamily(each.face), each.twin) << each.face;
        EXPECT_EQ(IsUsableFontFace(each.face), each.usable) << each.face;
    }
    EXPECT_FALSE(IsUsableFontFace(std::string_view("Arial\0x", 7)));
}

TEST(FontFaces, TheEditorsOfferInstalledFamiliesAndWindowsNamesSorted)
{
    const QStringList faces = OfferedFontFaces();
    for (const char* face : {"Arial", "Courier New", "Times New Roman", "Liberation Sans", "Liberation Mono"})
        EXPECT_TRUE(faces.contains(QString::fromLatin1(face))) << face;
    EXPECT_FALSE(faces.contains(QStringLiteral("Calibri")));
    QStringList sorted = faces;
    sorted.sort(Qt::CaseInsensitive);
    EXPECT_EQ(faces, sorted);
    QStringList unique = faces;
    EXPECT_EQ(unique.removeDuplicates(), 0);
}

TEST(FontFaces, OpeningADocumentKeepsWindowsFacesUnchanged)
{
    test::ScratchDir dir;
    const std::string file = dir.path("VEXADSP.TMP");
    test::WriteFileBytes(file, "[W1]\r\nT=A\r\nGF=Arial,8,0,0\r\nLF=Times New Roman,10,1,4\r\nTF=NoSuchFaceAnywhere,8\r\n"
                               "[W2]\r\nT=B\r\nGF=Courier New,9\r\nTF=None,0,0,2\r\n");
    CheckFontNames(file, [](const std::string& face) { return IsUsableFontFace(face); });
    profile::Flush(file);
    EXPECT_EQ(profile::ReadString("W1", "GF", "", file), "Arial,8,0,0");
    EXPECT_EQ(profile::ReadString("W1", "LF", "", file), "Times New Roman,10,1,4");
    EXPECT_EQ(profile::ReadString("W1", "TF", "<absent>", file), "<absent>");
    EXPECT_EQ(profile::ReadString("W2", "GF", "", file), "Courier New,9");
    EXPECT_EQ(profile::ReadString("W2", "TF", "", file), "None,0,0,2");
}

}  // namespace
}  // namespace vexa
