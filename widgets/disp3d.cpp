#include "disp3d.h"

#include "disp3dsurfaces.h"
#include "widgetslog.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLShaderProgram>
#include <QPainter>

namespace {

// One source per stage, written for the compatibility profile; the core
// profile gets a prefix that maps its keywords.
const char* const kVertex = R"(attribute vec4 vertex;
attribute vec3 normal;
varying vec3 vert;
varying vec3 vertNormal;
uniform mat4 projMatrix;
uniform mat4 mvMatrix;
uniform mat3 normalMatrix;
void main() {
   vert = vertex.xyz;
   vertNormal = normalMatrix * normal;
   gl_Position = projMatrix * mvMatrix * vertex;
}
)";

const char* const kFragment = R"(varying highp vec3 vert;
varying highp vec3 vertNormal;
uniform highp vec3 lightPos;
uniform highp vec3 color;
void main() {
   highp vec3 L = normalize(lightPos - vert);
   highp float NL = max(dot(normalize(vertNormal), L), 0.0);
   highp vec3 col = clamp(color * 0.2 + color * 0.8 * NL, 0.0, 1.0);
   fragColor = vec4(col, 1.0);
}
)";

const char* const kVertexCorePrefix = "#version 150\n#define attribute in\n#define varying out\n";
const char* const kFragmentCorePrefix = "#version 150\n#define varying in\nout highp vec4 fragColor;\n";
const char* const kFragmentPrefix = "#define fragColor gl_FragColor\n";

} // namespace

Disp3D::Disp3D(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    m_font = QFont(QStringLiteral("Times"));
    m_font.setPointSize(12);
    resize(300, 300);
}

Disp3D::~Disp3D()
{
    if (m_context != nullptr && makeCurrent()) {
        m_vbo.destroy();
        m_vao.destroy();
        m_program.reset();
        m_fbo.reset();
        m_context->doneCurrent();
    }
}

void Disp3D::setText(const QString& text)
{
    m_text = text;
    m_textChanged = true;
    m_dirty = true;
    update();
}

void Disp3D::setAngles(float x, float y, float z)
{
    m_xAngle = x;
    m_yAngle = y;
    m_zAngle = z;
    m_dirty = true;
    update();
}

void Disp3D::setColor(const QColor& color)
{
    m_color = color;
    m_dirty = true;
    update();
}

bool Disp3D::hasContext() const
{
    return m_context != nullptr && !m_contextFailed;
}

bool Disp3D::makeCurrent()
{
    if (m_contextFailed) {
        return false;
    }
    if (m_context == nullptr) {
        QSurfaceFormat format = QSurfaceFormat::defaultFormat();
        if (m_transparent) {
            format.setDepthBufferSize(24);
            format.setAlphaBufferSize(8);
            format.setSamples(4);
        }
        m_core = format.profile() == QSurfaceFormat::CoreProfile;
        m_context = std::make_unique<QOpenGLContext>();
        m_context->setFormat(format);
        m_surface = std::make_unique<QOffscreenSurface>();
        m_surface->setFormat(format);
        m_surface->create();
        if (!m_context->create() || !m_surface->isValid()) {
            qCWarning(lcWidgets) << "Disp3D: no OpenGL context; the 3D view stays empty";
            m_contextFailed = true;
            return false;
        }
    }
    if (!m_context->makeCurrent(m_surface.get())) {
        qCWarning(lcWidgets) << "Disp3D: the OpenGL context cannot be made current";
        m_contextFailed = true;
        return false;
    }
    return true;
}

void Disp3D::render()
{
    m_dirty = false;
    if (width() <= 0 || height() <= 0 || !makeCurrent()) {
        m_image = QImage();
        return;
    }
    if (!m_glReady) {
        initializeGL();
    }
    if (m_fbo == nullptr || m_fbo->size() != size()) {
        QOpenGLFramebufferObjectFormat fboFormat;
        fboFormat.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
        fboFormat.setSamples(m_context->format().samples() > 0 ? 4 : 0);
        m_fbo = std::make_unique<QOpenGLFramebufferObject>(size(), fboFormat);
        resizeGL(width(), height());
    }
    m_fbo->bind();
    glViewport(0, 0, width(), height());
    paintGL();
    m_fbo->release();
    m_image = m_fbo->toImage();
    m_context->doneCurrent();
}

void Disp3D::initializeGL()
{
    initializeOpenGLFunctions();
    glClearColor(0, 0, 0, m_transparent ? 0 : 1);

    m_program = std::make_unique<QOpenGLShaderProgram>();
    m_program->addShaderFromSourceCode(QOpenGLShader::Vertex,
                                       QByteArray(m_core ? kVertexCorePrefix : "") + kVertex);
    m_program->addShaderFromSourceCode(
        QOpenGLShader::Fragment, QByteArray(m_core ? kFragmentCorePrefix : kFragmentPrefix) + kFragment);
    m_program->bindAttributeLocation("vertex", 0);
    m_program->bindAttributeLocation("normal", 1);
    if (!m_program->link()) {
        qCWarning(lcWidgets) << "Disp3D: shader program:" << m_program->log();
    }
    m_program->bind();
    m_projMatrixLoc = m_program->uniformLocation("projMatrix");
    m_mvMatrixLoc = m_program->uniformLocation("mvMatrix");
    m_normalMatrixLoc = m_program->uniformLocation("normalMatrix");
    m_lightPosLoc = m_program->uniformLocation("lightPos");
    m_colorLoc = m_program->uniformLocation("color");

    m_vao.create();
    QOpenGLVertexArrayObject::Binder binder(&m_vao);
    m_vbo.create();
    m_vbo.bind();
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 6 * sizeof(GLfloat), nullptr);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, 6 * sizeof(GLfloat),
                          reinterpret_cast<void*>(3 * sizeof(GLfloat)));
    m_vbo.release();

    m_program->setUniformValue(m_lightPosLoc, QVector3D(0, 0, 70));
    m_program->setUniformValue(m_colorLoc, QVector3D(0.39f, 1.0f, 0.0f));
    m_program->release();
    m_glReady = true;
}

void Disp3D::resizeGL(int w, int h)
{
    m_proj.setToIdentity();
    m_proj.perspective(45.0f, GLfloat(w) / GLfloat(h), 2.0f, 200.0f);
}

void Disp3D::generateSurfaces()
{
    qCDebug(lcWidgets) << "enter: Disp3D::generateSurfaces";
    const Disp3DSurfaces::Result surfaces = Disp3DSurfaces::build(m_text, m_font, m_depth);
    m_vertices = surfaces.vertices;
    m_textWidth = surfaces.textWidth;
    m_vbo.bind();
    m_vbo.allocate(m_vertices.constData(), int(m_vertices.size() * int(sizeof(GLfloat))));
    m_vbo.release();
    qCDebug(lcWidgets) << "exit: Disp3D::generateSurfaces";
}

void Disp3D::paintGL()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    if (m_textChanged && !m_text.isEmpty()) {
        qCDebug(lcWidgets) << "Disp3D::paintGL" << m_text;
        generateSurfaces();
        m_textChanged = false;
    }
    if (m_vertices.isEmpty()) {
        return;
    }
    m_world.setToIdentity();
    m_world.rotate(180.0f - m_xAngle, 1, 0, 0);
    m_world.rotate(m_yAngle, 0, 1, 0);
    m_world.rotate(m_zAngle, 0, 0, 1);
    m_world.translate(-(m_textWidth / 2.0f), 0);
    m_camera.setToIdentity();
    m_camera.translate(0, 0, -100);

    QOpenGLVertexArrayObject::Binder binder(&m_vao);
    m_program->bind();
    m_program->setUniformValue(m_projMatrixLoc, m_proj);
    m_program->setUniformValue(m_mvMatrixLoc, m_camera * m_world);
    m_program->setUniformValue(m_normalMatrixLoc, m_world.normalMatrix());
    m_program->setUniformValue(m_colorLoc, QVector3D(m_color.redF(), m_color.greenF(), m_color.blueF()));
    glDrawArrays(GL_TRIANGLES, 0, vertexCount());
    m_program->release();
}

QImage Disp3D::renderedImage()
{
    if (m_dirty) {
        render();
    }
    return m_image;
}

void Disp3D::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_dirty = true;
}

void Disp3D::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event)
    const QImage image = renderedImage();
    if (!image.isNull()) {
        QPainter painter(this);
        painter.drawImage(0, 0, image);
    }
}
