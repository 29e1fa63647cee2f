#include "defs/FieldTable.h"

CFieldTable& g_FieldTable() {
    static CFieldTable table;
    return table;
}
