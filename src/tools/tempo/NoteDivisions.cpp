#include "tools/tempo/NoteDivisions.h"

namespace morvela::NoteDivisions {

const std::vector<NoteDivision>& all()
{
    static const std::vector<NoteDivision> divisions{{1}, {2}, {4}, {8}, {16}, {32}, {64}, {128}};
    return divisions;
}

} // namespace morvela::NoteDivisions
