// What the processor (and the operating system, for the wider registers) supports.
#pragma once

namespace norvel {

bool CpuHasSse2();
bool CpuHasAvx2();

}  // namespace norvel
