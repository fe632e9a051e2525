#pragma once
// The transaction types live with the shell, whose pickers need them too;
// include petty/shell/voucher_types.h.
#include "petty/shell/voucher_types.h"
