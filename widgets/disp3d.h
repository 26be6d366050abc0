#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QMatrix4x4>
#include <QOpenGLBuffer>
#include <QOpenGLFunctions>
#include <QOpenGLVertexArrayObject>
#include <QVector>
#include <QWidget>

#include <memory>

class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;
class QOpenGLShaderProgram;

// Extruded 3D text lit from the front and turned by three angles, drawn with
// OpenGL. The view renders into an offscreen framebuffer of its own context
// and paints the result like any widget, so the scene's device frames include
// it and it works without a window (and with Mesa's software rasteriser). It
// renders again only when the text, a setting or its size changed.
class Disp3D : public QWidget, protected QOpenGLFunctions
{
    Q_OBJECT

public:
    explicit Disp3D(QWidget* parent = nullptr);
    ~Disp3D() override;

    // The surfaces are rebuilt at the next paint.
    void setText(const QString& text);
    QString text() const { return m_text; }
    void setAngles(float x, float y, float z);
    float xAngle() const { return m_xAngle; }
    float yAngle() const { return m_yAngle; }
    float zAngle() const { return m_zAngle; }
    void setColor(const QColor& color);
    QColor color() const { return m_color; }
    // Takes effect with the next text.
    void setTextFont(const QFont& font) { m_font = font; }
    QFont textFont() const { return m_font; }
    int textWidth() const { return m_textWidth; }
    int vertexCount() const { return m_vertices.size() / 6; }
    // False when no OpenGL context could be made; the view then stays empty.
    bool hasContext() const;

    // The last rendered picture (rendering first when due).
    QImage renderedImage();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool makeCurrent();
    void render();
    void initializeGL();
    void resizeGL(int w, int h);
    void paintGL();
    void generateSurfaces();

    float m_xAngle = 20.0f;
    float m_yAngle = 30.0f;
    float m_zAngle = 0.0f;
    QString m_text;
    bool m_textChanged = false;
    QColor m_color = Qt::green;
    float m_depth = 2.0f;
    QFont m_font;
    QVector<float> m_vertices;
    int m_textWidth = 0;
    bool m_transparent = true;
    bool m_core = false;

    std::unique_ptr<QOpenGLContext> m_context;
    std::unique_ptr<QOffscreenSurface> m_surface;
    std::unique_ptr<QOpenGLFramebufferObject> m_fbo;
    std::unique_ptr<QOpenGLShaderProgram> m_program;
    QOpenGLVertexArrayObject m_vao;
    QOpenGLBuffer m_vbo;
    bool m_glReady = false;
    bool m_contextFailed = false;
    int m_projMatrixLoc = -1;
    int m_mvMatrixLoc = -1;
    int m_normalMatrixLoc = -1;
    int m_lightPosLoc = -1;
    int m_colorLoc = -1;
    QMatrix4x4 m_proj;
    QMatrix4x4 m_camera;
    QMatrix4x4 m_world;
    QImage m_image;
    bool m_dirty = true;
};
