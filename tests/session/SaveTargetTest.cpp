// The file a save goes to: the extension "Save as" adds and the refusal to replace anything but
// a regular file. The question before replacing is asked by the windows (DialogFlowsTest).
#include "session/SaveTarget.h"

#include "SampleStates.h"
#include "common/SpecialFiles.h"
#include "common/TestSupport.h"
#include "session/StateFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orbivex {
namespace {

TEST(NameWithExtension, AddsTheExtensionOnceAndNeverAfterADot) {
    struct Case {
        const char* chosen;
        OtherExtension other;
        const char* saved;
    };
    const Case cases[] = {
        {"/d/keep", OtherExtension::Keep, "/d/keep.pat"},
        {"/d/keep.pat", OtherExtension::Keep, "/d/keep.pat"},
        {"/d/keep.PAT", OtherExtension::Keep, "/d/keep.PAT"},
        {"/d/keep.", OtherExtension::Keep, "/d/keep.pat"},
        {"/d/keep..", OtherExtension::Keep, "/d/keep.pat"},
        {"/d/keep.txt", OtherExtension::Keep, "/d/keep.txt"},
        {"/d.v2/keep", OtherExtension::Keep, "/d.v2/keep.pat"},
        {"/d/keep.txt", OtherExtension::Append, "/d/keep.txt.pat"},
        {"/d/keep.", OtherExtension::Append, "/d/keep.pat"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NameWithExtension(QString::fromUtf8(c.chosen), QStringLiteral(".pat"), c.other),
                  QString::fromUtf8(c.saved))
            << c.chosen;
    }
}

TEST(SaveTarget, StateFilesReadAndReplaceOnlyRegularFiles) {
    QTemporaryDir folder;
    const std::vector<test::SpecialFile> specials =
        test::MakeSpecialFiles(folder.path(), QStringLiteral(".pat"));
    ASSERT_FALSE(specials.empty());
    for (const test::SpecialFile& special : specials) {
        SCOPED_TRACE(special.what.toStdString());
        // Not asked about: the writer refuses it.
        const SaveTarget target =
            SaveTargetOf(special.path.chopped(4), QStringLiteral(".pat"), OtherExtension::Keep);
        EXPECT_EQ(target.name, special.path);
        EXPECT_FALSE(target.askToReplace);
        EXPECT_EQ(
            MessageOf(WriteStateFile(special.path, test::SampleState(0))),
            QStringLiteral("Cannot save %1: it is a %2.").arg(special.path, special.kindWords));
        EXPECT_EQ(
            MessageOf(ReadStateFile(special.path)),
            QStringLiteral("Cannot open %1: it is a %2.").arg(special.path, special.kindWords));
        EXPECT_TRUE(test::StillSpecial(special));
    }
}

} // namespace
} // namespace orbivex
