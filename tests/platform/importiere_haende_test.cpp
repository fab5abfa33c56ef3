#include "platform/importiere_haende.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "value/errors.hpp"

namespace tavo::platform {
namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;

TEST(ImportiereHaende, HandsByName) {
  Importiere_haende importer;
  const Dict sieben{{"karten", List{"AS", "KH"}}};
  importer.register_modul("kk_test", Dict{{7, sieben}, {"8a", "acht"}});
  importer.register_hand("other.hand1", 1);

  const List haende = importer.make_haendeliste(List{"kk_test.hand8a", "kk_test.hand7"});
  EXPECT_EQ(Value(haende), Value(List{"acht", sieben}));
  EXPECT_TRUE(haende.at(1).as_dict().same(sieben));
  EXPECT_EQ(Value(importer.make_haendeliste(List{"other.hand1"})), Value(List{1}));

  EXPECT_THAT([&] { importer.make_haendeliste(List{"kk_test.hand9"}); },
              ThrowsMessage<KeyError>(StrEq("no hand registered as 'kk_test.hand9'")));
  EXPECT_THROW(importer.make_haendeliste(List{7}), TypeError);
  EXPECT_THROW(importer.register_modul("bad", Dict{{1, "eins"}, {2.5, "x"}}), TypeError);
  EXPECT_THROW(importer.make_haendeliste(List{"bad.hand1"}), KeyError);

  importer.clear();
  EXPECT_THROW(importer.make_haendeliste(List{"kk_test.hand7"}), KeyError);
}

}  // namespace
}  // namespace tavo::platform
