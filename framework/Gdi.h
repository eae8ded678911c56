// GDI wrappers.
//
// CGdiObject and its kinds (CBitmap, CFont, CRgn) own the object they
// created and delete it in their destructor. They are for objects made here
// only: never give them a stock object, and select an object out of every
// context before its owner dies (a selected object cannot be deleted).
//
// CDC wraps a device context. It deletes only a memory context it created
// itself (CreateCompatibleDC); an attached context is borrowed. CPaintDC
// begins painting in its constructor and ends it in its destructor.
#pragma once

#include "Wnd.h"

class CGdiObject
{
public:
    CGdiObject() = default;
    ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    // Deletes the object, if any; FALSE when there was none or GDI refused.
    BOOL DeleteObject();
    // Takes over an object, deleting the one owned before; Detach gives the
    // object up without deleting it.
    BOOL Attach(HGDIOBJ hObject) { return Own(hObject); }
    HGDIOBJ Detach()
    {
        HGDIOBJ hObject = m_hObject;
        m_hObject = nullptr;
        return hObject;
    }

protected:
    BOOL Own(HGDIOBJ hObject)
    {
        DeleteObject();
        m_hObject = hObject;
        return hObject != nullptr;
    }
};

class CDC;

class CBitmap : public CGdiObject
{
public:
    // A bitmap of the target's format (not of a memory context's 1x1
    // monochrome default), cx by cy pixels.
    BOOL CreateCompatibleBitmap(CDC* pDC, int cx, int cy);
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};

class CFont : public CGdiObject
{
public:
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                    BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                    BYTE nQuality, BYTE nPitchAndFamily, LPCSTR pszFacename)
    {
        return Own(::CreateFontA(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline,
                                 cStrikeOut, nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily,
                                 pszFacename));
    }
    BOOL CreateFontIndirect(const LOGFONTA* pLogFont) { return Own(::CreateFontIndirectA(pLogFont)); }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

class CRgn : public CGdiObject
{
public:
    BOOL CreateRectRgnIndirect(const RECT* pRect) { return Own(::CreateRectRgnIndirect(pRect)); }
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
};

class CDC
{
public:
    CDC() = default;
    virtual ~CDC() { DeleteDC(); }
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;         // where drawing goes
    HDC m_hAttribDC = nullptr;   // where attributes (device caps) are read
    BOOL m_bPrinting = FALSE;    // the context belongs to a printer

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    BOOL IsPrinting() const { return m_bPrinting; }

    // Borrows a context for drawing and attributes; Detach gives it back.
    void Attach(HDC hDC);
    HDC Detach();
    // A memory context compatible with pDC's (the screen for null), owned
    // by this object.
    BOOL CreateCompatibleDC(CDC* pDC);
    // Deletes an owned context; forgets a borrowed one.
    void DeleteDC();

    // Selects an object and returns the previous one of its kind, which the
    // caller selects back.
    HGDIOBJ SelectObject(CGdiObject* pObject) { return ::SelectObject(m_hDC, pObject->m_hObject); }
    HGDIOBJ SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }
    // Clips to a copy of the region (device coordinates); null removes the
    // clipping.
    int SelectClipRgn(CRgn* pRgn) { return ::SelectClipRgn(m_hDC, pRgn ? static_cast<HRGN>(*pRgn) : nullptr); }
    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int nSavedDC) { return ::RestoreDC(m_hDC, nSavedDC); }

    int SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
    COLORREF SetTextColor(COLORREF cr) { return ::SetTextColor(m_hDC, cr); }
    POINT SetWindowOrg(int x, int y);
    BOOL LPtoDP(RECT* pRect) const { return ::LPtoDP(m_hDC, reinterpret_cast<POINT*>(pRect), 2); }
    int GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hAttribDC, nIndex); }
    int GetClipBox(RECT* pRect) const { return ::GetClipBox(m_hDC, pRect); }

    // Fills with a solid colour through an opaque ExtTextOutA, which needs
    // no brush; the background colour is left as it was.
    void FillSolidRect(const RECT* pRect, COLORREF cr);
    int DrawText(LPCSTR pszText, int nCount, RECT* pRect, UINT nFormat)
    {
        return ::DrawTextA(m_hDC, pszText, nCount, pRect, nFormat);
    }
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
    {
        return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC->m_hDC, xSrc, ySrc, dwRop);
    }

private:
    BOOL m_bOwned = FALSE;
};

class CPaintDC : public CDC
{
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps = {};

private:
    HWND m_hWnd;
};
