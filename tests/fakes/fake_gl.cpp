#include "fake_gl.h"

#include <map>
#include <set>

#include "gl.h"

namespace {

// Where glVertexPointer/glTexCoordPointer last pointed.
struct ClientArray {
  int size = 0;
  GLenum type = 0;
  int stride = 0;
  const void* data = nullptr;
};

struct State {
  std::vector<GlCall> calls;
  std::set<unsigned> enabled;
  std::set<unsigned> client_states;
  bool current = true;
  GLuint next_texture = 1;
  int unpack_alignment = 4;
  int matrix_depth = 0;
  int quadric_storage = 0;
  ClientArray vertex_array, texcoord_array;
  volatile unsigned char sink = 0;
};

State& S() {
  static State state;
  return state;
}

// Logs one call when a context is current; returns whether it was.
bool Log(const char* name, std::vector<double> args = {}) {
  if (!S().current) return false;
  S().calls.push_back({name, std::move(args)});
  return true;
}

// Appends n floats from p to a copy of args.
std::vector<double> With(std::vector<double> args, const GLfloat* p, int n) {
  for (int i = 0; i < n; ++i) args.push_back(p[i]);
  return args;
}

// Reads every byte an upload of w x h RGB pixels would, so ASan sees overreads.
void TouchPixels(const void* pixels, int w, int h, int components) {
  if (!pixels || w <= 0 || h <= 0) return;
  const int align = S().unpack_alignment;
  const size_t row = (static_cast<size_t>(w) * components + align - 1) / align * align;
  const auto* p = static_cast<const unsigned char*>(pixels);
  const size_t last = row * (h - 1) + static_cast<size_t>(w) * components;
  unsigned char acc = 0;
  for (size_t i = 0; i < last; ++i) acc ^= p[i];
  S().sink = acc;
}

}  // namespace

namespace fakegl {
void Reset() { S().~State(); new (&S()) State(); }
void SetContextCurrent(bool current) { S().current = current; }
const std::vector<GlCall>& Calls() { return S().calls; }
int Count(const std::string& name) {
  int n = 0;
  for (const auto& c : S().calls) n += c.name == name;
  return n;
}
std::vector<GlCall> CallsNamed(const std::string& name) {
  std::vector<GlCall> out;
  for (const auto& c : S().calls)
    if (c.name == name) out.push_back(c);
  return out;
}
namespace {
// The one search behind the four: a name, and the arguments when args is given.
int Search(const std::vector<GlCall>& calls, const std::string& name, const std::vector<double>* args, int from) {
  for (size_t i = static_cast<size_t>(from); i < calls.size(); ++i)
    if (calls[i].name == name && (!args || calls[i].args == *args)) return static_cast<int>(i);
  return -1;
}
}  // namespace
int Find(const std::string& name, int from) { return Search(S().calls, name, nullptr, from); }
int FindCall(const std::string& name, const std::vector<double>& args, int from) {
  return Search(S().calls, name, &args, from);
}
int Find(const std::vector<GlCall>& calls, const std::string& name, int from) {
  return Search(calls, name, nullptr, from);
}
int FindCall(const std::vector<GlCall>& calls, const std::string& name, const std::vector<double>& args, int from) {
  return Search(calls, name, &args, from);
}
std::string Trace() {
  std::string out;
  for (const auto& c : S().calls) out += c.name + "\n";
  return out;
}
bool IsEnabled(unsigned cap) { return S().enabled.count(cap) != 0; }
int MatrixDepth() { return S().matrix_depth; }
}  // namespace fakegl

extern "C" {

// State.
void glEnable(GLenum cap) { if (Log("glEnable", {double(cap)})) S().enabled.insert(cap); }
void glDisable(GLenum cap) { if (Log("glDisable", {double(cap)})) S().enabled.erase(cap); }
GLboolean glIsEnabled(GLenum cap) {
  Log("glIsEnabled", {double(cap)});
  return S().enabled.count(cap) ? GL_TRUE : GL_FALSE;
}
void glEnableClientState(GLenum a) { if (Log("glEnableClientState", {double(a)})) S().client_states.insert(a); }
void glDisableClientState(GLenum a) { if (Log("glDisableClientState", {double(a)})) S().client_states.erase(a); }
void glClear(GLbitfield mask) { Log("glClear", {double(mask)}); }
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) { Log("glClearColor", {r, g, b, a}); }
void glClearDepth(GLclampd d) { Log("glClearDepth", {d}); }
void glDepthFunc(GLenum f) { Log("glDepthFunc", {double(f)}); }
void glDepthMask(GLboolean f) { Log("glDepthMask", {double(f)}); }
void glShadeModel(GLenum m) { Log("glShadeModel", {double(m)}); }
void glHint(GLenum t, GLenum m) { Log("glHint", {double(t), double(m)}); }
void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) { Log("glViewport", {double(x), double(y), double(w), double(h)}); }
void glFrustum(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) { Log("glFrustum", {l, r, b, t, n, f}); }
void glPixelStorei(GLenum p, GLint v) {
  if (Log("glPixelStorei", {double(p), double(v)}) && p == GL_UNPACK_ALIGNMENT) S().unpack_alignment = v;
}
void glGetIntegerv(GLenum p, GLint* v) {
  Log("glGetIntegerv", {double(p)});
  if (v) *v = p == GL_UNPACK_ALIGNMENT ? S().unpack_alignment : p == GL_MAX_TEXTURE_SIZE ? fakegl::kMaxTextureSize : 0;
}
GLenum glGetError(void) { return GL_NO_ERROR; }

// Matrices.
void glMatrixMode(GLenum m) { Log("glMatrixMode", {double(m)}); }
void glLoadIdentity(void) { Log("glLoadIdentity"); }
void glPushMatrix(void) { if (Log("glPushMatrix")) ++S().matrix_depth; }
void glPopMatrix(void) { if (Log("glPopMatrix")) --S().matrix_depth; }
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) { Log("glTranslatef", {x, y, z}); }
void glTranslated(GLdouble x, GLdouble y, GLdouble z) { Log("glTranslated", {x, y, z}); }
void glRotatef(GLfloat a, GLfloat x, GLfloat y, GLfloat z) { Log("glRotatef", {a, x, y, z}); }

// Immediate mode.
void glBegin(GLenum mode) { Log("glBegin", {double(mode)}); }
void glEnd(void) { Log("glEnd"); }
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) { Log("glColor4f", {r, g, b, a}); }
void glColor3f(GLfloat r, GLfloat g, GLfloat b) { Log("glColor3f", {r, g, b}); }
void glTexCoord2f(GLfloat s, GLfloat t) { Log("glTexCoord2f", {s, t}); }
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) { Log("glVertex3f", {x, y, z}); }
void glVertex3fv(const GLfloat* v) { Log("glVertex3fv", With({}, v, 3)); }
void glVertex3d(GLdouble x, GLdouble y, GLdouble z) { Log("glVertex3d", {x, y, z}); }
void glVertex2f(GLfloat x, GLfloat y) { Log("glVertex2f", {x, y}); }
void glNormal3fv(const GLfloat* v) { Log("glNormal3fv", With({}, v, 3)); }
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) { Log("glNormal3f", {x, y, z}); }

// Arrays.
void glVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* p) {
  if (Log("glVertexPointer", {double(size), double(type), double(stride)})) S().vertex_array = {size, type, stride, p};
}
void glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* p) {
  if (Log("glTexCoordPointer", {double(size), double(type), double(stride)})) S().texcoord_array = {size, type, stride, p};
}
void glNormalPointer(GLenum type, GLsizei stride, const GLvoid*) { Log("glNormalPointer", {double(type), double(stride)}); }
// Logs mode, first, count, then for each element the enabled float arrays'
// components (texture coordinate before vertex), as glTexCoord/glVertex would.
void glDrawArrays(GLenum mode, GLint first, GLsizei count) {
  std::vector<double> args = {double(mode), double(first), double(count)};
  for (GLint k = first; S().current && k < first + count; ++k) {
    for (const ClientArray* a : {&S().texcoord_array, &S().vertex_array}) {
      const bool on = S().client_states.count(a == &S().vertex_array ? GL_VERTEX_ARRAY : GL_TEXTURE_COORD_ARRAY);
      if (!on || a->type != GL_FLOAT || !a->data) continue;
      const int stride = a->stride ? a->stride : a->size * int(sizeof(GLfloat));
      const auto* element = reinterpret_cast<const GLfloat*>(static_cast<const char*>(a->data) + size_t(k) * stride);
      args.insert(args.end(), element, element + a->size);
    }
  }
  Log("glDrawArrays", std::move(args));
}
void glDrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid*) {
  Log("glDrawElements", {double(mode), double(count), double(type)});
}

// Lighting and materials.
void glLightfv(GLenum light, GLenum p, const GLfloat* v) {
  Log("glLightfv", With({double(light), double(p)}, v, p == GL_POSITION || p == GL_AMBIENT || p == GL_DIFFUSE || p == GL_SPECULAR ? 4 : 1));
}
void glLightf(GLenum light, GLenum p, GLfloat v) { Log("glLightf", {double(light), double(p), v}); }
void glMaterialfv(GLenum face, GLenum p, const GLfloat* v) {
  Log("glMaterialfv", With({double(face), double(p)}, v, p == GL_SHININESS ? 1 : 4));
}
void glMaterialf(GLenum face, GLenum p, GLfloat v) { Log("glMaterialf", {double(face), double(p), v}); }

// Textures.
void glGenTextures(GLsizei n, GLuint* names) {
  if (!Log("glGenTextures", {double(n)})) return;  // no context: names untouched
  for (GLsizei i = 0; i < n; ++i) names[i] = S().next_texture++;
}
void glDeleteTextures(GLsizei n, const GLuint* names) {
  for (GLsizei i = 0; i < n; ++i) Log("glDeleteTextures", {double(names[i])});
}
GLuint glGenLists(GLsizei n) { return Log("glGenLists", {double(n)}) ? 1 : 0; }  // logged, never replayed
void glNewList(GLuint list, GLenum mode) { Log("glNewList", {double(list), double(mode)}); }
void glEndList(void) { Log("glEndList"); }
void glCallList(GLuint list) { Log("glCallList", {double(list)}); }
void glDeleteLists(GLuint list, GLsizei n) { Log("glDeleteLists", {double(list), double(n)}); }
void glBindTexture(GLenum target, GLuint name) { Log("glBindTexture", {double(target), double(name)}); }
void glTexParameteri(GLenum target, GLenum p, GLint v) { Log("glTexParameteri", {double(target), double(p), double(v)}); }
void glTexImage2D(GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h, GLint border, GLenum format,
                  GLenum type, const GLvoid* pixels) {
  if (Log("glTexImage2D", {double(target), double(level), double(internal), double(w), double(h), double(border),
                           double(format), double(type)}))
    TouchPixels(pixels, w, h, format == GL_RGBA ? 4 : 3);
}
void glTexEnvi(GLenum target, GLenum p, GLint v) { Log("glTexEnvi", {double(target), double(p), double(v)}); }

// GLU.
void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zn, GLdouble zf) { Log("gluPerspective", {fovy, aspect, zn, zf}); }
void gluLookAt(GLdouble ex, GLdouble ey, GLdouble ez, GLdouble cx, GLdouble cy, GLdouble cz, GLdouble ux, GLdouble uy,
               GLdouble uz) {
  Log("gluLookAt", {ex, ey, ez, cx, cy, cz, ux, uy, uz});
}
GLUquadric* gluNewQuadric(void) {
  Log("gluNewQuadric");
  return reinterpret_cast<GLUquadric*>(&S().quadric_storage);
}
void gluDeleteQuadric(GLUquadric*) { Log("gluDeleteQuadric"); }
void gluQuadricNormals(GLUquadric*, GLenum n) { Log("gluQuadricNormals", {double(n)}); }
void gluQuadricTexture(GLUquadric*, GLboolean t) { Log("gluQuadricTexture", {double(t)}); }
void gluSphere(GLUquadric*, GLdouble r, GLint slices, GLint stacks) { Log("gluSphere", {r, double(slices), double(stacks)}); }
GLint gluBuild2DMipmaps(GLenum target, GLint internal, GLsizei w, GLsizei h, GLenum format, GLenum type,
                        const void* pixels) {
  if (!Log("gluBuild2DMipmaps", {double(target), double(internal), double(w), double(h), double(format), double(type)}))
    return GLU_INVALID_OPERATION;
  TouchPixels(pixels, w, h, 3);
  return 0;
}

}  // extern "C"
