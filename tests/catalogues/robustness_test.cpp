// Every reader on random bytes, on truncated and damaged copies of good
// files and on files without line ends (fixed seed, run under the
// sanitizers): each load returns, a failed asteroid or comet load shows the
// built-in list, and the list stays consistent.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

#include "catalogue_test_support.h"
#include "catalogues/asteroid_list.h"
#include "catalogues/comet_list.h"
#include "catalogues/element_lines.h"
#include "catalogues/variable_star_list.h"

namespace kvx::test {
namespace {

using Robustness = CatalogueTest;

template <typename List, typename Usable>
void ExpectConsistent(const List& list, Usable usable, bool read) {
  ASSERT_LE(list.Count(), list.ItemLimit);
  ASSERT_GE(list.ItemIndex, list.Count() > 0 ? 0 : -1);
  ASSERT_LT(list.ItemIndex, std::max(list.Count(), 1));
  for (int k = 0; k < list.Count(); ++k) ASSERT_TRUE(usable(list.Data(k))) << list.Text(k);
  if (!read) {
    ASSERT_EQ(list.BuiltInListShown, 1);
    ASSERT_EQ(list.Count(), 20);
  }
}

TEST_F(Robustness, RandomTruncatedAndDamagedFiles) {
  std::mt19937 random(20261207);
  // Good files to cut and damage: the shipped ones and written ones.
  Planetoidentabelle asteroids(64);
  Kometentabelle comets(64);
  asteroids.LoadBuiltInList();
  comets.LoadBuiltInList();
  ASSERT_TRUE(asteroids.suchen("Thetis"));
  asteroids.Data(asteroids.ItemIndex).Equinox = 2000;  // SkyMap holds the equinox 2000 only
  ASSERT_TRUE(asteroids.WriteOplFile(folder.File("good.opl")));
  ASSERT_TRUE(asteroids.WriteSkyMapFile(folder.File("good.sky")));
  ASSERT_TRUE(comets.WriteGuideFile(folder.File("good.dat")));
  ASSERT_TRUE(comets.WriteOkoFile(folder.File("good.oko")));
  auto read = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  const std::vector<std::string> goods = {read(std::string(KVX_DATA_DIR) + "/planeten.csv"),
                                          read(std::string(KVX_DATA_DIR) + "/kometen.csv"),
                                          read(std::string(KVX_DATA_DIR) + "/variab.csv"),
                                          read(folder.File("good.opl")),
                                          read(folder.File("good.sky")),
                                          read(folder.File("good.dat")),
                                          read(folder.File("good.oko"))};
  const std::vector<std::string> asteroidNames = {"x.csv", "x.opl", "astorb.dat", "mpcorb.dat",
                                                  "MPCORBCR.DAT", "x.sky", "x.cat", "x.txt"};
  const std::vector<std::string> cometNames = {"k.csv", "k.oko", "k.dat", "k.sky", "k.txt"};

  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE(round);
    std::string bytes;
    switch (round % 4) {
      case 0: {  // random bytes with NUL and line ends
        bytes.resize(random() % 3000);
        for (char& c : bytes) c = static_cast<char>(random() % 256);
        break;
      }
      case 1: {  // a good file cut anywhere
        const std::string& good = goods[random() % goods.size()];
        bytes = good.substr(0, random() % (good.size() + 1));
        break;
      }
      case 2: {  // a good file with bytes overwritten
        bytes = goods[random() % goods.size()];
        for (int k = 0; k < 20 && !bytes.empty(); ++k) bytes[random() % bytes.size()] = static_cast<char>(random());
        break;
      }
      default:  // one long line without line ends
        bytes = std::string(200000 + random() % 1000, static_cast<char>('0' + random() % 10));
        break;
    }
    std::uint8_t kind = 0;
    const std::string a = folder.Write(asteroidNames[random() % asteroidNames.size()], bytes);
    Planetoidentabelle alist(64);
    const bool aread = alist.Neuedateiladen(kind, a, true, static_cast<int>(random() % 100) - 10);
    ExpectConsistent(alist, AsteroidElementsUsable, aread);
    const std::string k = folder.Write(cometNames[random() % cometNames.size()], bytes);
    Kometentabelle klist(64);
    const bool kread = klist.Neuedateiladen(kind, k, true, 0);
    ExpectConsistent(klist, CometElementsUsable, kread);
    variablentabelle vlist;
    ASSERT_TRUE(vlist.Neuedateiladen(folder.Write("v.csv", bytes), 7, false));
    ExpectConsistent(vlist, VariableStarElementsUsable, true);
  }
}

}  // namespace
}  // namespace kvx::test
