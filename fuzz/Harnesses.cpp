#include "fuzz/Harnesses.h"

namespace fuzz {

const std::vector<Harness>& AllHarnesses() {
    static const std::vector<Harness> harnesses = {
        {"question_file", &QuestionFileInput}, {"data_file", &DataFileInput},
        {"round_trip", &RoundTripInput},       {"modifier", &ModifierInput},
        {"ini_file", &IniFileInput},
    };
    return harnesses;
}

} // namespace fuzz
