// Resource ids of norvel.exe.
#pragma once

#define IDI_NORVEL 1
#define IDR_BELL 2  // the reminder's bell, a WAV (resource type "WAVE")
