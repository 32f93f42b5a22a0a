#pragma once

#include <QString>

namespace platform {

// Numbers as the windows show them, in the user's locale (Qt takes it from LC_ALL,
// LC_NUMERIC or LANG). Files keep their own format whatever the locale: this is only for
// what is shown.

// "##0.00": rounded to two decimals, at least one digit before the locale's decimal
// separator and two after it, a leading "-" when negative, and never "-0.00".
QString FormatTwoDecimals(double value);

} // namespace platform
