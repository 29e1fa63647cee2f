// SPDX-License-Identifier: MIT
#pragma once
// A small definitions tree the find's tests search: two sets, a register
// name that stands in both, an edit row and a drop-down with named values.
inline constexpr const char* kFindTree =
    "<tavlin>"
    "<regset name=\"Timers\" info=\"t\">"
    "<register name=\"CTRL\" bits=\"32\" value=\"0\" info=\"Enable bits\">"
    "<field name=\"EN\" kind=\"edit\" info=\"Counter enable\" low=\"0\" high=\"0\"></field>"
    "<field name=\"MODE\" kind=\"combo\" info=\"m\" low=\"4\" high=\"5\">"
    "<select name=\"Slow\" value=\"0\"/><select name=\"Fast\" value=\"2\"/></field>"
    "</register>"
    "<register name=\"CNT\" bits=\"16\" value=\"0\" info=\"c\">"
    "<field name=\"COUNT\" kind=\"edit\" info=\"c\" low=\"0\" high=\"15\"></field></register>"
    "</regset>"
    "<regset name=\"Uart\" info=\"u\">"
    "<register name=\"CTRL\" bits=\"8\" value=\"0\" info=\"c\">"
    "<field name=\"TXEN\" kind=\"edit\" info=\"t\" low=\"0\" high=\"0\"></field></register>"
    "</regset>"
    "</tavlin>";
