// Resource ids of norvel.exe.
#pragma once

#define IDI_NORVEL 1
