#include "controls/JvGradient_win.h"

#include "platform/Gdi_win.h"

// A memory bitmap with its device context; drawing calls go to the bitmap, and CopyToControl
// blits it to the device context of the paint in progress.
class TGdiGradientBuffer : public TGradientBuffer {
public:
    TGdiGradientBuffer() : dc_(CreateCompatibleDC(nullptr)) {}
    ~TGdiGradientBuffer() override {
        if (bitmap_ != nullptr) {
            SelectObject(dc_, oldBitmap_);
            DeleteObject(bitmap_);
        }
        DeleteDC(dc_);
    }
    TGdiGradientBuffer(const TGdiGradientBuffer&) = delete;
    TGdiGradientBuffer& operator=(const TGdiGradientBuffer&) = delete;

    void SetSize(int32_t width, int32_t height) override {
        HBITMAP bitmap = CreateCompatibleBitmap(TWindowDC(nullptr), width, height);
        if (bitmap_ != nullptr) {
            SelectObject(dc_, oldBitmap_);
            DeleteObject(bitmap_);
        }
        bitmap_ = bitmap;
        oldBitmap_ = static_cast<HBITMAP>(SelectObject(dc_, bitmap_));
        width_ = width;
        height_ = height;
    }

    void FillRect(const TRect& rect, TColor color) override {
        SetBkColor(dc_, ToColorRef(color));
        const RECT r{rect.left, rect.top, rect.right, rect.bottom};
        ExtTextOutA(dc_, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    }

    void FillEllipse(const TRect& rect, TColor color) override {
        Shape(color, [&] { Ellipse(dc_, rect.left, rect.top, rect.right, rect.bottom); });
    }

    void FillRoundRect(const TRect& rect, int32_t cornerWidth, int32_t cornerHeight,
                       TColor color) override {
        Shape(color, [&] {
            RoundRect(dc_, rect.left, rect.top, rect.right, rect.bottom, cornerWidth, cornerHeight);
        });
    }

    void CopyToControl() override {
        if (target_ != nullptr) {
            BitBlt(target_, origin_.x, origin_.y, width_, height_, dc_, 0, 0, SRCCOPY);
        }
    }

    // The device context of the paint in progress and the control's top-left corner in it.
    void SetTarget(HDC target, POINT origin) {
        target_ = target;
        origin_ = origin;
    }

private:
    template <typename Draw>
    void Shape(TColor color, Draw draw) {
        TSelection pen(dc_, CreatePen(PS_SOLID, 1, ToColorRef(color)), TSelection::kDelete);
        TSelection brush(dc_, CreateSolidBrush(ToColorRef(color)), TSelection::kDelete);
        draw();
    }

    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HBITMAP oldBitmap_ = nullptr;
    HDC target_ = nullptr;
    POINT origin_{};
    int32_t width_ = 0;
    int32_t height_ = 0;
};

TJvGradientWin::TJvGradientWin(HWND parent) : parent_(parent) {
    auto buffer = std::make_unique<TGdiGradientBuffer>();
    buffer_ = buffer.get();
    gradient_ = std::make_unique<TJvGradient>(std::move(buffer), [this] {
        // The picture is painted in the erase-background step, so the repaint asks for one.
        InvalidateRect(parent_, nullptr, TRUE);
    });
}

TJvGradientWin::~TJvGradientWin() {
    gradient_->SetDestroying();
}

void TJvGradientWin::PaintBackground(HDC dc, const RECT& client) {
    const TRect place =
        AlignedBounds(gradient_->Align(), {client.left, client.top, client.right, client.bottom},
                      gradient_->BoundsRect());
    buffer_->SetTarget(dc, POINT{place.left, place.top});
    gradient_->Paint(place.Width(), place.Height());
    buffer_->SetTarget(nullptr, POINT{});
}
