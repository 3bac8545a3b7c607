#pragma once
// The MMC snap-in interfaces from the toolchain's mmc.h. No import library defines their
// interface identifiers; linking Common does.
#include <windows.h>
#include <mmc.h>
