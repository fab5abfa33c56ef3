#include "platform/shelf.hpp"

#include <gtest/gtest.h>

#include <fstream>

#include "db/error.hpp"
#include "support/temporary_directory.hpp"
#include "value/errors.hpp"

namespace tavo::platform {
namespace {

using testing::TemporaryDirectory;

TEST(Shelf, DataWrittenInOneSessionIsThereInTheNext) {
  const TemporaryDirectory directory;
  const auto file = directory / "nested/folder/data.dat";
  {
    Shelf shelf = Shelf::open(file);
    shelf.set("b", List{1, 4.0, "a", None});
    shelf.set("a", Dict{{"x", Tuple{2021, 9, 22}}});
    shelf.set("c", DateTime(2021, 9, 22, 3));
    shelf.set("b", "replaced");  // in its old place
    shelf.erase("c");
    EXPECT_THROW(shelf.erase("c"), KeyError);
  }
  Shelf shelf = Shelf::open(file);
  EXPECT_EQ(shelf.keys(), (std::vector<std::string>{"b", "a"}));
  EXPECT_EQ(shelf.get("b"), Value("replaced"));
  EXPECT_EQ(shelf.get("a"), Value(Dict{{"x", Tuple{2021, 9, 22}}}));
  EXPECT_EQ(shelf.get("c", 0), Value(0));
  EXPECT_THROW(shelf.get("c"), KeyError);
  shelf.close();
  EXPECT_THROW(shelf.keys(), ValueError);
}

TEST(Shelf, WritebackStoresChangesMadeInPlace) {
  const TemporaryDirectory directory;
  const auto file = directory / "data.dat";
  {
    Shelf plain = Shelf::open(file);
    plain.set("list", List{1});
    plain.get("list").as_list().append(2);
  }
  {
    Shelf writeback = Shelf::open(file, true);
    EXPECT_EQ(writeback.get("list"), Value(List{1}));
    writeback.get("list").as_list().append(3);
  }
  EXPECT_EQ(Shelf::open(file).get("list"), Value(List{1, 3}));
}

TEST(Shelf, RejectsFilesThatAreNotShelves) {
  const TemporaryDirectory directory;
  const auto text = directory / "text.dat";
  std::ofstream(text) << "not a database at all, just some text that is long enough to "
                         "fill a database header of one hundred bytes.";
  EXPECT_THROW(Shelf::open(text), db::Error);

  const auto other = directory / "other.sqlite";
  db::Connection(other, db::OpenMode::create).execute("CREATE TABLE notes (text TEXT)");
  EXPECT_THROW(Shelf::open(other), db::Error);
}

TEST(Shelf, DetachedShelvesHaveNoFileAndReadOnlyCopiesRefuseWrites) {
  EXPECT_THROW(Shelf().copy_to("/nowhere"), ValueError);

  Shelf copy = Shelf::read_only_copy(Dict{{"a", 1}}, "written elsewhere");
  EXPECT_TRUE(copy.is_read_only());
  EXPECT_EQ(copy.get("a"), Value(1));
  try {
    copy.set("b", 2);
    ADD_FAILURE() << "a read-only copy took a write";
  } catch (const TypeError& refused) {
    EXPECT_STREQ(refused.what(), "written elsewhere");
  }
  EXPECT_THROW(copy.erase("a"), TypeError);
  EXPECT_EQ(copy.keys(), std::vector<std::string>{"a"});
}

}  // namespace
}  // namespace tavo::platform
