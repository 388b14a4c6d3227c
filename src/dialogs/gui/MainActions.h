#pragma once

class QAction;

// Every fixed menu entry and toolbar button of the main window, each member named as its
// control (and its objectName). Subsystems connect to these members, so a misspelt entry
// does not compile. The recent-file entries come and go and are not here.
struct MainActions {
    // File
    QAction* f_New = nullptr;
    QAction* f_Open = nullptr;
    QAction* f_Save = nullptr;
    QAction* f_SaveAS = nullptr;
    QAction* f_Compare = nullptr;
    QAction* Sel_prg = nullptr;
    QAction* f_SelPr = nullptr;
    QAction* Pr_Size = nullptr;
    QAction* f_Exit = nullptr;
    // Sizes
    QAction* S_Sel = nullptr;
    QAction* S_Cop = nullptr;
    QAction* s_Clr = nullptr;
    QAction* S_Imp = nullptr;
    QAction* O_CopyC = nullptr;
    QAction* O_Shc = nullptr;
    QAction* O_ClC = nullptr;
    QAction* o_MODC = nullptr;
    QAction* o_Undo = nullptr;
    QAction* o_Redo = nullptr;
    // Functions
    QAction* Fu_Set = nullptr;
    QAction* Fu_Timing = nullptr;
    // Comm
    QAction* C_Trsz = nullptr;
    QAction* c_Rcsz = nullptr;
    QAction* C_Compare = nullptr;
    QAction* Upd_Flash = nullptr;
    // Options
    QAction* o_SetPort = nullptr;
    QAction* o_Setlng = nullptr;
    QAction* o_Verify = nullptr;
    // Info (a menu-bar entry of its own)
    QAction* INF = nullptr;
    // Toolbar
    QAction* Sel_Form = nullptr;
    QAction* Sv_Fil = nullptr;
    QAction* OP_FIL = nullptr;
    QAction* New_Fil = nullptr;
    QAction* GoPrCam = nullptr;
    QAction* Azz_Form = nullptr;
};
