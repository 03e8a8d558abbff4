// The order of operations a level computes in.  The earlier level forms a
// few products and quotients in another order than the current one; the
// difference reaches at most the last bits of the results.  Each function
// that differs takes the order and says where it differs.
#pragma once

namespace vesk {

enum class OperationOrder { Current, Earlier };

} // namespace vesk
