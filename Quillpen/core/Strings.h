#pragma once
// The texts Quillpen shows or writes, each in one place.

namespace Orvane { namespace Quillpen {

constexpr wchar_t kManagerBoxTitle[] = L"Quillpen";
constexpr wchar_t kWaitFailedText[] = L"Wait for multiple objects failed!!!";
constexpr wchar_t kNoMoreThreadsText[] = L"ERROR: Cannot create ANY MORE threads!!!";
constexpr wchar_t kCannotCreateThreadText[] = L"Cannot create thread!!!";

// The editor's name, "Orvane Quillpen", is string resource 128 (caption and box titles).
constexpr wchar_t kSaveChangesFormat[] = L"Save changes to %s ?";
constexpr wchar_t kFileErrorFormat[] = L"%s file %s\nfailed with error %d:\n%s";
constexpr wchar_t kOpeningWord[] = L"Opening";
constexpr wchar_t kSavingWord[] = L"Saving";
constexpr wchar_t kUntitledTitle[] = L"Untitled";
constexpr wchar_t kModifiedMark[] = L"*";
constexpr wchar_t kTitleSeparator[] = L" - ";
constexpr wchar_t kRowFormat[] = L"Row: %i";
constexpr wchar_t kColumnFormat[] = L"Col: %i";

constexpr wchar_t kApplyButtonText[] = L" Apply (Ctrl+S)";
constexpr wchar_t kDiscardButtonText[] = L" Discard (Ctrl+W)";
constexpr wchar_t kRegExpTestButtonText[] = L" RegExp test (Ctrl+T)";
constexpr wchar_t kCommentOutButtonText[] = L" Comment out (Ctrl+K)";
constexpr wchar_t kUncommentButtonText[] = L" Uncomment (Ctrl+U)";

constexpr wchar_t kHeaderFirstLine[] = L"# Orvane Quillon configuration file";
constexpr wchar_t kHeaderVersionPrefix[] = L"# Version ";

constexpr wchar_t kProbeProgram[] = L"Quillprobe.exe";
constexpr wchar_t kRichEditLibrary[] = L"RICHED20.DLL";

constexpr wchar_t kFrameClassName[] = L"Orvane.Quillpen.Frame";
constexpr wchar_t kViewClassName[] = L"Orvane.Quillpen.EditView";

}}
