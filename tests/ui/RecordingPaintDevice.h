#pragma once

#include <QPaintDevice>
#include <QPaintEngine>
#include <QTextItem>
#include <vector>

// The printable area of a page (by default A4 less a printer's 10 mm border) at a given
// resolution that keeps, page by page, every text painted on it with the start of its
// baseline and its font.
class RecordingPaintDevice final : public QPaintDevice
{
public:
    struct PaintedText
    {
        QPointF baseline;
        QString text;
        QFont font;
    };

    explicit RecordingPaintDevice(int dpi, QSizeF millimetres = {190, 277})
        : dpi_(dpi)
        , millimetres_(millimetres)
    {
    }
    bool newPage()
    {
        pages.emplace_back();
        return true;
    }
    QPaintEngine *paintEngine() const override { return &engine_; }

    std::vector<std::vector<PaintedText>> pages {1};

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        constexpr double MmPerInch = 25.4;
        switch (metric) {
        case PdmWidth:
            return int(millimetres_.width() / MmPerInch * dpi_);
        case PdmHeight:
            return int(millimetres_.height() / MmPerInch * dpi_);
        case PdmWidthMM:
            return int(millimetres_.width());
        case PdmHeightMM:
            return int(millimetres_.height());
        case PdmNumColors:
            return 1 << 24;
        case PdmDepth:
            return 24;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default: // the resolutions
            return dpi_;
        }
    }

private:
    struct Engine final : QPaintEngine
    {
        explicit Engine(RecordingPaintDevice &device)
            : device(device)
        {
        }
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &) override { }
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override { }
        void drawTextItem(const QPointF &p, const QTextItem &item) override
        {
            device.pages.back().push_back({p, item.text(), item.font()});
        }
        Type type() const override { return User; }

        RecordingPaintDevice &device;
    };

    int dpi_;
    QSizeF millimetres_;
    mutable Engine engine_ {*this};
};
