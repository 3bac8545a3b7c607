#pragma once
// Resource identifiers of Orvanedock.
#define IDR_MAINFRAME 128
#define IDI_ORVANEDOCK 201
#define IDB_SITE_IMAGES 214

#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_SAVE 57603
#define ID_FILE_PRINT 57607
#define ID_EDIT_COPY 57634
#define ID_EDIT_CUT 57635
#define ID_EDIT_PASTE 57637
#define ID_EDIT_UNDO 57643
#define ID_NEXT_PANE 57680
#define ID_PREV_PANE 57681
