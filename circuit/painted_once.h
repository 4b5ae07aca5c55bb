// Whether DrawCircuit has been called before in this run; the first paint draws no start arrow.
#pragma once

namespace circuit {

extern int paintedOnce;

}  // namespace circuit
