// A workbook LibreOffice cannot write is refused before anything is written:
// a read-only file (never loaded), and a document the user opened read-only
// (left open as it is). What the analysis changed and did not save is known,
// and saving stores the document in its own format.

#include <gtest/gtest.h>

#include <com/sun/star/util/XModifiable.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "commands/OpenCommand.h"
#include "module1/Fault.h"
#include "tests/support/FaultOf.h"
#include "tests/support/RecordingFeedback.h"
#include "tests/uno/TestDocuments.h"
#include "tests/uno/TestOffice.h"
#include "workbook/uno/LibreOfficeEngine.h"

namespace vk::test {
namespace {

namespace fs = std::filesystem;
using css::uno::Reference;

std::string bytesOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class LiveReadOnly : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::path(TestOffice::get().folder()) / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::create_directories(dir);
  }
  void TearDown() override { engine->closeDocumentsLoadedHere(); }
  OfficeConnection& office() { return TestOffice::get().connection(); }
  fs::path copyOf(const std::string& name) {
    fs::copy_file(fs::path(VK_SOURCE_DIR) / "tests/data/e2e" / name, dir / name);
    return dir / name;
  }
  // The Open command as the wizard runs it; the fault it ends in, if any.
  std::string open(const fs::path& file, RecordingFeedback& screen) {
    Module1 m;
    m.Engine = engine;
    return faultOf([&] { OpenWorkbook(m, screen, file.parent_path().string(), file.filename().string()); });
  }
  static bool showedNext(const RecordingFeedback& screen) {
    for (const std::string& line : screen.lines)
      if (line == "cmdNext.Visible=True") return true;
    return false;
  }

  fs::path dir;
  std::shared_ptr<LibreOfficeEngine> engine = std::make_shared<LibreOfficeEngine>([] {
    LibreOfficeOptions options = TestOffice::get().engineOptions();
    options.loadHidden = true;
    return options;
  }());
};

TEST_F(LiveReadOnly, AReadOnlyFileIsRefusedWithoutLoadingIt) {
  const fs::path file = copyOf("one-set.xlsx");
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  RecordingFeedback screen;
  const std::string fault = open(file, screen);
  EXPECT_TRUE(contains(fault, "the workbook " + file.string() + " is read-only")) << fault;
  EXPECT_FALSE(showedNext(screen));
  EXPECT_FALSE(isOpen(office(), file.string()));
}

TEST_F(LiveReadOnly, ADocumentOpenedReadOnlyIsRefusedAndLeftAsItIs) {
  const fs::path file = copyOf("one-set.xlsx");
  Document users = openAsUser(office(), file.string(), true);
  RecordingFeedback screen;
  const std::string fault = open(file, screen);
  EXPECT_TRUE(contains(fault, "is open read-only in LibreOffice")) << fault;
  EXPECT_TRUE(contains(fault, "Open it there for editing")) << fault;
  EXPECT_FALSE(showedNext(screen));
  ASSERT_TRUE(isOpen(office(), file.string()));
  EXPECT_FALSE(Reference<css::util::XModifiable>(users, css::uno::UNO_QUERY_THROW)->isModified());
  closeDocument(users);
}

// Only changes the analysis made count; saving stores them in the file's own
// format, after which nothing is left unsaved.
TEST_F(LiveReadOnly, UnsavedChangesOfTheAnalysisAndSavingThem) {
  const fs::path file = copyOf("one-set.xlsx");
  const std::string before = bytesOf(file);
  Document users = openAsUser(office(), file.string());
  setNumber(users, 1, 30, 1, 5);  // the user's own edit
  std::shared_ptr<Workbook> book = engine->bind(file.string());
  EXPECT_FALSE(book->unsavedChanges());

  book->write(3, 13, 1, Integer(1));
  book->commit();
  EXPECT_TRUE(book->unsavedChanges());
  EXPECT_EQ(bytesOf(file), before);

  book->save();
  EXPECT_FALSE(book->unsavedChanges());
  const std::string after = bytesOf(file);
  EXPECT_NE(after, before);
  // Still an .xlsx package, not converted to LibreOffice's own format.
  EXPECT_TRUE(contains(after, "[Content_Types].xml"));
  EXPECT_FALSE(contains(after, "opendocument"));
  closeDocument(users);

  LibreOfficeEngine again(TestOffice::get().engineOptions());
  std::shared_ptr<Workbook> saved = again.bind(file.string());
  EXPECT_EQ(saved->readNumber(3, 13, 1), 1);
  EXPECT_EQ(saved->readNumber(1, 30, 1), 5);
  again.closeDocumentsLoadedHere();
}

}  // namespace
}  // namespace vk::test
