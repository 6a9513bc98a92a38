#include "ui/Random.h"

#include "startup/modMain.h"
#include "ui/Error.h"
#include "ui/Services.h"

#include <cmath>

namespace modMain {

std::int32_t GetRandomNumber(std::int32_t lower, std::int32_t upper) {
    // No draw can exceed an upper bound at or below the lower one; refuse rather than spin.
    if (upper <= lower)
        throw ui::Error(ui::errors::InvalidArgument, "Invalid procedure call or argument");
    // The clock moves on only every few milliseconds: stirred in rather than taking the
    // generator's place, it leaves the two axes of one tick their own numbers.
    ui::Reseed(static_cast<float>(ui::Now().SecondsSinceMidnight));
    std::int32_t result = 0;
    while (result <= lower)
        result = static_cast<std::int32_t>(std::floor(ui::Rnd() * static_cast<float>(upper) + 1));
    return result;
}

} // namespace modMain
