#pragma once
// A property-sheet extension of the tests' own, registered the way a real extension registers
// itself, with one class per behaviour the host must cope with.
#include <windows.h>

namespace OrvanedockTest {

// Adds one page titled "One" that shows the metabase path it was given.
inline constexpr CLSID kPageExtension = {0x7E1A0001, 0x5A5B, 0x4C4D, {0x9E, 0x01, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66}};
// The same with a page titled "Two".
inline constexpr CLSID kSecondPageExtension = {0x7E1A0002, 0x5A5B, 0x4C4D, {0x9E, 0x01, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66}};
// QueryPagesFor answers S_FALSE.
inline constexpr CLSID kRefusingExtension = {0x7E1A0003, 0x5A5B, 0x4C4D, {0x9E, 0x01, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66}};
// Adds a page titled "Partial", then reports failure.
inline constexpr CLSID kFailingExtension = {0x7E1A0004, 0x5A5B, 0x4C4D, {0x9E, 0x01, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66}};
// Registered nowhere as a class: creating it fails.
inline constexpr CLSID kMissingExtension = {0x7E1A0005, 0x5A5B, 0x4C4D, {0x9E, 0x01, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66}};

// The page's text control: "One: " + path.
inline constexpr int kPageTextId = 1001;
inline constexpr int kPageEditId = 1002;

}
