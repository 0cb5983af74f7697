// The record of every message between the editor (or the host binding) and the plug-in,
// passed to CPlugIn::editorMessage, and its codes.
#pragma once

#include <cstdint>

namespace VSTGUI {
struct CColor;
class IControlListener;
}

namespace Zaze2VST3 {
class CVSTParameterConnector;
}

// Message codes (m_uCode).
constexpr uint32_t kGuiEditorOpened = 0;       // editor opened, or rebuilt its views
constexpr uint32_t kGuiEditorClosing = 1;      // editor about to close
constexpr uint32_t kGuiTimerTick = 2;          // editor timer tick (50 ms)
constexpr uint32_t kGuiCustomView = 3;         // a view the framework does not know; answer: the view
constexpr uint32_t kGuiQueryCustomEditor = 5;  // answer through m_bCustomEditor
constexpr uint32_t kGuiOpenCustomEditor = 6;   // answer non-null when the plug-in built its editor
constexpr uint32_t kGuiCloseCustomEditor = 7;
constexpr uint32_t kGuiParameterChanged = 13;  // m_nIndex shows m_dValue (normalized)

struct CGuiMessageRecord
{
    uint32_t m_uCode = 0;                       // kGui... code
    const char* m_szViewName = nullptr;         // custom-view name (3); empty (0, 1)
    int32_t m_nTag = 0;                         // control tag of the requested view (3)
    int32_t m_nLeft = 0;                        // requested view rectangle, editor pixels (3)
    int32_t m_nTop = 0;
    int32_t m_nBottom = 0;
    int32_t m_nRight = 0;
    int32_t m_nOffsetX = 0;                     // background offset, pixels (3)
    int32_t m_nOffsetY = 0;
    const char* m_szBitmap = nullptr;           // bitmap file names or empty (3)
    const char* m_szHandleBitmap = nullptr;
    const char* m_szOffBitmap = nullptr;
    const char* m_szOrientation = nullptr;      // orientation attribute or empty (3)
    VSTGUI::CColor* m_pBackColor = nullptr;     // colours of the requested view, or null (3)
    VSTGUI::CColor* m_pFrameColor = nullptr;
    VSTGUI::CColor* m_pFontColor = nullptr;
    int32_t m_nFrameWidth = 0;                  // pixels (3)
    int32_t m_nRoundRectRadius = 0;             // pixels (3)
    bool m_bNoFrame = false;                    // (3)
    bool m_bRoundRect = false;                  // (3)
    int32_t m_nHeightOfOneImage = 0;            // sub-image height, pixels (3)
    int32_t m_nSubPixmaps = 0;                  // sub-image count (3)
    const char* m_szText = nullptr;             // second text; empty (0, 1, 3)
    void* m_pEditor = nullptr;                  // editor object of a plug-in-drawn editor (6)
    void* m_pParentWindow = nullptr;            // host parent window handle (6, 7)
    VSTGUI::IControlListener* m_pListener = nullptr; // listener of the requested view (3)
    uint32_t m_uPlatformType = 0;               // platform window type the host asked for (6)
    double m_dValue = 0.0;                      // normalized parameter value 0..1 (13)
    int32_t m_nIndex = 0;                       // parameter ID (13)
    void* m_pModule = nullptr;                  // module instance handle (6, 7)
    Zaze2VST3::CVSTParameterConnector* m_pParamConnector = nullptr; // edits of a drawn editor (6)
    bool m_bCustomEditor = false;               // answer: the plug-in draws its own editor (5)
    int32_t m_nWidth = 0;                       // answer: drawn editor size, pixels (6)
    int32_t m_nHeight = 0;
};
