#pragma once

#include <QPaintDevice>
#include <QPaintEngine>
#include <QString>
#include <QTextItem>
#include <vector>

// A page of A4 at a given resolution that keeps every text painted on it: where its
// baseline starts, the text and the font, page by page.
class RecordingPaintDevice final : public QPaintDevice
{
public:
    struct PaintedText
    {
        QPointF baseline;
        QString text;
        QFont font;
    };

    explicit RecordingPaintDevice(int dpi)
        : dpi_(dpi)
    {
    }

    // The painter's "new page".
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
        constexpr double WidthMm = 210, HeightMm = 297, MmPerInch = 25.4;
        switch (metric) {
        case PdmWidth:
            return int(WidthMm / MmPerInch * dpi_);
        case PdmHeight:
            return int(HeightMm / MmPerInch * dpi_);
        case PdmWidthMM:
            return int(WidthMm);
        case PdmHeightMM:
            return int(HeightMm);
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
    class Engine final : public QPaintEngine
    {
    public:
        explicit Engine(RecordingPaintDevice &device)
            : device_(device)
        {
        }
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &) override { }
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override { }
        void drawTextItem(const QPointF &p, const QTextItem &item) override
        {
            device_.pages.back().push_back({p, item.text(), item.font()});
        }
        Type type() const override { return User; }

    private:
        RecordingPaintDevice &device_;
    };

    int dpi_;
    mutable Engine engine_ {*this};
};
