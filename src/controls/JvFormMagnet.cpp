#include "controls/JvFormMagnet.h"

// The screen magnet runs four passes (left, right, up, down), each only when the form moves in
// its direction. A pass whose edge snapped within the last 250 ms uses its hold rules, which keep
// the form on the edge against small movements; otherwise the first matching snap rule acts.
// The down pass deliberately differs from the right pass (it tests the top edge first and its
// hold rule puts the bottom edge Area pixels below the work area).

namespace {

// x within [lo..area]: only 0..255 qualifies, and only the low byte of area is used.
bool Within(int64_t x, int64_t lo, uint32_t area) {
    return x >= 0 && x <= 255 && lo <= x && x <= static_cast<int64_t>(area & 0xFF);
}

int64_t Abs(int64_t x) {
    return x < 0 ? -x : x;
}

bool Fresh(int64_t stamp, int64_t nowMs) {
    return Abs(nowMs - stamp) <= kMagnetHoldMs;
}

// Places edges while keeping the size the rectangle had when the magnet started.
class TSnapper {
public:
    TSnapper(TRect& rect, int64_t nowMs)
        : rect_(rect), width_(rect.Width()), height_(rect.Height()), nowMs_(nowMs) {}

    void Left(int64_t x, int64_t& stamp) {
        rect_.left = Wrap(x);
        rect_.right = Wrap(x + width_);
        stamp = nowMs_;
    }
    void Right(int64_t x, int64_t& stamp) {
        rect_.right = Wrap(x);
        rect_.left = Wrap(x - width_);
        stamp = nowMs_;
    }
    void Top(int64_t y, int64_t& stamp) {
        rect_.top = Wrap(y);
        rect_.bottom = Wrap(y + height_);
        stamp = nowMs_;
    }
    void Bottom(int64_t y, int64_t& stamp) {
        rect_.bottom = Wrap(y);
        rect_.top = Wrap(y - height_);
        stamp = nowMs_;
    }

private:
    static int32_t Wrap(int64_t value) { return static_cast<int32_t>(value); }

    TRect& rect_;
    int64_t width_;
    int64_t height_;
    int64_t nowMs_;
};

}  // namespace

void ApplyScreenMagnet(const TRect& form, TRect& p, const TRect& a, uint32_t area,
                       TMagnetStamps& stamps, int64_t nowMs) {
    TSnapper snap(p, nowMs);
    const int64_t ar = area;

    if (p.left < form.left) {
        const int64_t d = int64_t{p.left} - a.left;
        const int64_t e = int64_t{a.right} - p.right;
        if (!Fresh(stamps.left, nowMs)) {
            if (Within(d, 2, area) || d == 1 || d == -1) {
                snap.Left(a.left, stamps.left);
            } else if (Within(-d, 2, area)) {
                snap.Left(a.left - ar, stamps.left);
            } else if (Within(e, 2, area)) {
                snap.Right(a.right - ar, stamps.right);
            } else if (Within(Abs(e), 1, area)) {
                snap.Right(a.right, stamps.right);
            }
        } else if (Abs(d) < ar) {
            snap.Left(a.left, stamps.left);
        } else if (Abs(e) < ar) {
            snap.Right(a.right, stamps.right);
        }
    }

    if (p.left > form.left) {
        const int64_t e = int64_t{a.right} - p.right;
        const int64_t d = int64_t{a.left} - p.left;
        if (!Fresh(stamps.right, nowMs)) {
            if (Within(e, 2, area) || e == 1 || e == -1) {
                snap.Right(a.right, stamps.right);
            } else if (Within(-e, 2, area)) {
                snap.Right(a.right + ar, stamps.right);
            } else if (Within(d, 2, area)) {
                snap.Left(a.left, stamps.left);
            } else if (Within(Abs(d), 1, area)) {
                snap.Left(a.left + ar, stamps.left);
            }
        } else if (Abs(e) < ar) {
            snap.Right(a.right, stamps.right);
        } else if (Abs(d) < ar) {
            snap.Left(a.left, stamps.left);
        }
    }

    if (p.top < form.top) {
        const int64_t d = int64_t{p.top} - a.top;
        const int64_t e = int64_t{a.bottom} - p.bottom;
        if (!Fresh(stamps.top, nowMs)) {
            if (Within(d, 2, area) || d == 1 || d == -1) {
                snap.Top(a.top, stamps.top);
            } else if (Within(-d, 2, area)) {
                snap.Top(a.top - ar, stamps.top);
            } else if (Within(e, 2, area)) {
                snap.Bottom(a.bottom - ar, stamps.bottom);
            } else if (Within(Abs(e), 1, area)) {
                snap.Bottom(a.bottom, stamps.bottom);
            }
        } else if (Abs(d) < ar) {
            snap.Top(a.top, stamps.top);
        } else if (Abs(e) < ar) {
            snap.Bottom(a.bottom, stamps.bottom);
        }
    }

    if (p.top > form.top) {
        const int64_t d = int64_t{p.top} - a.top;
        const int64_t e = int64_t{a.bottom} - p.bottom;
        if (!Fresh(stamps.bottom, nowMs)) {
            if (Within(d, 2, area)) {
                snap.Top(a.top + ar, stamps.top);
            } else if (Abs(d) < ar) {
                snap.Top(a.top, stamps.top);
            } else if (Within(e, 2, area)) {
                snap.Bottom(a.bottom, stamps.bottom);
            } else if (Within(Abs(e), 1, area)) {
                snap.Bottom(a.bottom + ar, stamps.bottom);
            }
        } else if (Abs(d) < ar) {
            snap.Top(a.top, stamps.top);
        } else if (Abs(e) < ar) {
            snap.Bottom(a.bottom + ar, stamps.bottom);
        }
    }
}

void ApplyMainFormMagnet(const TRect& form, TRect& p, const TRect& m, uint32_t area,
                         TMagnetStamps& stamps, int64_t nowMs) {
    TSnapper snap(p, nowMs);
    const int64_t ar = area;
    // Vertical actions share the top stamp, horizontal ones the right stamp.
    int64_t& vertical = stamps.top;
    int64_t& horizontal = stamps.right;
    const auto horizontalOverlap = [&] {
        return (p.left > m.left && p.left < m.right) || (m.left > p.left && m.left < p.right);
    };
    const auto verticalOverlap = [&] {
        return (p.top > m.top && p.top < m.bottom) || (m.top > p.top && m.top < p.bottom);
    };

    if (p.top < form.top && horizontalOverlap()) {
        const int64_t d = int64_t{p.top} - m.bottom;
        const int64_t e = int64_t{p.bottom} - m.top;
        if (!Fresh(vertical, nowMs)) {
            if (Within(d, 2, area)) {
                snap.Top(m.bottom, vertical);
            } else if (Within(-d, 2, area)) {
                snap.Top(m.bottom - ar, vertical);
            } else if (Within(e, 2, area)) {
                snap.Bottom(m.top, vertical);
            } else if (Within(-e, 2, area)) {
                snap.Bottom(m.top - ar, vertical);
            }
        } else if (Abs(d) < ar) {
            snap.Top(m.bottom, vertical);
        } else if (Abs(e) < ar) {
            snap.Bottom(m.top, vertical);
        }
    }

    if (p.top > form.top && horizontalOverlap()) {
        const int64_t d = int64_t{p.top} - m.bottom;
        const int64_t e = int64_t{p.bottom} - m.top;
        if (!Fresh(vertical, nowMs)) {
            if (Within(d, 2, area)) {
                snap.Top(m.bottom + ar, vertical);
            } else if (Within(-d, 2, area)) {
                snap.Top(m.bottom, vertical);
            } else if (Within(e, 1, area)) {
                snap.Bottom(m.top, vertical);
            } else if (Within(Abs(e), 2, area)) {
                snap.Bottom(m.top + ar, vertical);
            }
        } else if (Abs(d) < ar) {
            snap.Top(m.bottom, vertical);
        } else if (e < ar) {
            snap.Bottom(m.top, vertical);
        }
    }

    if (p.left < form.left && verticalOverlap()) {
        const int64_t a = int64_t{p.left} - m.right;
        const int64_t b = int64_t{p.right} - m.left;
        if (!Fresh(horizontal, nowMs)) {
            if (Within(a, 2, area)) {
                snap.Left(m.right, horizontal);
            } else if (Within(Abs(a), 2, area)) {
                snap.Left(m.right - ar, horizontal);
            } else if (Within(b, 2, area)) {
                snap.Right(m.left, horizontal);
            } else if (Within(Abs(b), 2, area)) {
                snap.Right(m.left - ar, horizontal);
            }
        } else if (Abs(a) < ar) {
            snap.Left(m.right, horizontal);
        } else if (Abs(b) < ar) {
            snap.Right(m.left, horizontal);
        }
    }

    if (p.left > form.left && verticalOverlap()) {
        const int64_t a = int64_t{m.left} - p.right;
        const int64_t b = int64_t{m.right} - p.left;
        if (!Fresh(horizontal, nowMs)) {
            if (Within(a, 2, area)) {
                snap.Right(m.left, horizontal);
            } else if (Within(Abs(a), 2, area)) {
                snap.Right(m.left + ar, horizontal);
            } else if (Within(b, 2, area)) {
                snap.Left(m.right, horizontal);
            } else if (Within(Abs(b), 2, area)) {
                snap.Left(m.right + ar, horizontal);
            }
        } else if (Abs(a) < ar) {
            snap.Right(m.left, horizontal);
        } else if (Abs(b) < ar) {
            snap.Left(m.right, horizontal);
        }
    }
}

void ApplyFormGlue(const TRect& form, const TRect& proposed, TJvFormMagnetHost& host) {
    const int32_t dx = proposed.left - form.left;
    const int32_t dy = proposed.top - form.top;
    const int32_t count = host.FormCount();
    for (int32_t i = 0; i < count; ++i) {
        const TRect g = host.FormBounds(i);
        // One coordinate decides; the forms need not overlap along the other axis.
        if (g.left == form.right || g.top == form.bottom || g.right == form.left ||
            g.bottom == form.top) {
            host.SetFormLeft(i, g.left + dx);
            host.SetFormTop(i, g.top + dy);
        }
    }
}

void TJvFormMagnet::Moving(const TRect& form, TRect& proposed, TJvFormMagnetHost& host) {
    if (!active_) {
        return;
    }
    TRect p = proposed;
    const int64_t now = Clock().NowMs();
    if (screenMagnet_) {
        ApplyScreenMagnet(form, p, host.WorkArea(), area_, stamps_, now);
    }
    if (formGlue_) {
        ApplyFormGlue(form, p, host);
    }
    if (mainFormMagnet_) {
        if (const std::optional<TRect> mainForm = host.MainFormBounds()) {
            ApplyMainFormMagnet(form, p, *mainForm, area_, stamps_, now);
        }
    }
    proposed = p;
}
