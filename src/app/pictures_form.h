#pragma once
#include <QImage>
#include <QString>
#include <QWidget>
#include <vector>

// The hidden form that holds the monochrome pictures the screen previews
// stamp: white (set) on black (clear), each at its fixed size.
class TPicturesForm : public QWidget {
    Q_OBJECT
public:
    explicit TPicturesForm(QWidget *parent = nullptr);
    ~TPicturesForm() override;

    struct Picture {
        const char *name;
        int width, height;
        QImage image; // Format_Mono, colour 0 black, colour 1 white
    };
    const std::vector<Picture> &Pictures() const;
    // A null image when there is no picture of that name.
    QImage picture(const QString &name) const;

    // The form created at start, for the preview drawing; null before.
    static TPicturesForm *Instance();

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Loaded when first asked for: the start of the program does not wait.
    void ensureDrawn() const;
    mutable std::vector<Picture> m_pictures;
    bool m_labels = false;
};

// One picture by name at its size, white on black (exposed for the tests).
QImage DrawPicture(const QString &name);
