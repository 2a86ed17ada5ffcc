// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/layout/Canvas.h"

#include "core/layout/PagePlanner.h"

#include <QDialog>
#include <QImage>

#include <functional>

class QPushButton;

// The picture area of the preview: an off-screen image shown as it is.
class TImage : public QWidget
{
    Q_OBJECT
public:
    TImage(const QSize &size, QWidget *parent = nullptr);

    QImage &Picture() { return m_picture; }
    // Fills the whole picture with the image's brush (white).
    void Clear();
    // Draws through `draw` with the picture's canvas active. The canvas
    // keeps its pen and font size from one drawing to the next.
    void Paint(const std::function<void(TCanvas &)> &draw);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
    TCanvas m_canvas;
};

// The preview window: the laid-out jacket on screen, scaled down by one
// fixed factor, with its warnings; printing can start from here.
class TPreVForm : public QDialog
{
    Q_OBJECT
public:
    explicit TPreVForm(QWidget *parent = nullptr);

    void FormCreate();
    void FormShow();
    void DrawPreview();
    void PrintBtnClick();
    void CanCelBtnClick();
    void FormClose();

    TImage *Image1;
    QPushButton *PrintBtn;
    QPushButton *CanCelBtn;
    // The whole sheet is shown: both faces on one sheet, a disc label, or pre-cut paper.
    bool WholeSheet = false;
    // What is shown, and printed from the preview.
    PageFaces Faces = PageFaces::Front;

    // Printer pixels per preview pixel.
    static double PreviewDivisor(double scaleX) { return 7.1 * scaleX; }
    // The preview font size (negative: by cell height) for a printer line
    // `printerLineHeight` pixels high.
    static int PreviewFontSize(int printerLineHeight, double divisor, int ppi);

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showWarning(const QStringList &lines);
};

struct PlacedFace;

extern TPreVForm *PreVForm;
