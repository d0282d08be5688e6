// The class a design moves to when its table changes.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "materials/equivalent_class.h"

namespace materials {
namespace {

TEST(EquivalentClass, SameNameElseSameNumberElseNextLowerElseWeakest)
{
    const std::vector<std::string> glulam{"GL20h", "GL24h", "GL26h", "GL24c", "GL32h"};
    const std::vector<std::string> en338{"C16", "C24", "C30", "D30", "D40"};
    const struct
    {
        const std::vector<std::string>& names;
        const char *from, *to;
    } cases[] = {
        {glulam, "GL24c", "GL24c"}, {glulam, "C24", "GL24h"}, {glulam, "C27", "GL26h"},
        {glulam, "C16", "GL20h"},   {en338, "GL32h", "C30"},  {en338, "GL32c", "C30"},
        {en338, "D35", "D30"},      {en338, "Oak", "C16"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.names[equivalentClass(c.names, c.from)], c.to) << c.from;
}

} // namespace
} // namespace materials
