#include "services/core/Error.h"
#include "services/core/Localizer.h"
#include "services/core/Version.h"

#include <gtest/gtest.h>

using namespace kivcore;
using namespace kivcore::config;

TEST(ThrowError, CarriesEverythingAndFormatsTheEnglishText) {
  try {
    ThrowError(1, "$$$/kivworkspace/workspace/Error/UnknownWorkspace=Unknown workspace \"@0\" (@1).",
               102, 28, 1, u"Colour", 3);
    FAIL() << "ThrowError returned";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Unknown workspace \"Colour\" (3).");
    EXPECT_EQ(e.Level(), 1);
    EXPECT_EQ(e.Category(), 102);
    EXPECT_EQ(e.Code(), 28);
    EXPECT_EQ(e.Key(), "$$$/kivworkspace/workspace/Error/UnknownWorkspace=Unknown workspace \"@0\" (@1).");
    EXPECT_EQ(e.Message(), u"Unknown workspace \"Colour\" (3).");
  }
  // Without replacements the placeholders stay; four values of mixed kinds work.
  try {
    ThrowError(1, "$$$/a/b=@0-@1-@2-@3-@4", 1, 2, 1, "x", std::string("y"), u"z", 4u);
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "x-y-z-4-@4");
  }
}

TEST(Localizer, EnglishFromTheKeyAndTranslationsOverride) {
  Localizer& l = Localizer::Get();
  EXPECT_EQ(l.Localize("$$$/kivworkspace/sharedui/WorkspacesPopup/WorkspaceNew=New Workspace..."),
            u"New Workspace...");
  EXPECT_EQ(l.Localize("plain text = not a key"), u"plain text = not a key");
  EXPECT_EQ(l.Localize("$$$/x/empty="), u"");
  EXPECT_EQ(Localizer::KeyName("$$$/a/b=Text=with equals"), "$$$/a/b");
  EXPECT_EQ(l.Localize("$$$/a/b=Text=with equals"), u"Text=with equals");

  l.SetTranslation("$$$/kivworkspace/workspaceutils/DeleteWSTitle", u"Arbeitsbereich löschen");
  EXPECT_EQ(l.Localize("$$$/kivworkspace/workspaceutils/DeleteWSTitle=Delete Workspace"),
            u"Arbeitsbereich löschen");
  // An error's Message follows the translation, what() stays English.
  try {
    ThrowError(1, "$$$/kivworkspace/workspaceutils/DeleteWSTitle=Delete Workspace", 1, 1, 1);
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), u"Arbeitsbereich löschen");
    EXPECT_STREQ(e.what(), "Delete Workspace");
  }
  l.ClearTranslations();
  EXPECT_EQ(l.Localize("$$$/kivworkspace/workspaceutils/DeleteWSTitle=Delete Workspace"),
            u"Delete Workspace");
}

TEST(Version, JoinsNumberAndName) { EXPECT_EQ(GetVersionString(), "2.0.0.Gadfly"); }
