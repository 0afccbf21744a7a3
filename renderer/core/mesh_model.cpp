#include "mesh_model.h"

#include <cstdint>
#include <new>
#include <vector>

#include "file_bytes.h"
#include "flight_host.h"
#include "texture_names.h"
#include "textures.h"

// Sets the front material from m; shininess last.
static void ApplyMaterial(const ModelMaterial& m) {
  glMaterialfv(GL_FRONT, GL_AMBIENT, m.ambient);
  glMaterialfv(GL_FRONT, GL_DIFFUSE, m.diffuse);
  glMaterialfv(GL_FRONT, GL_SPECULAR, m.specular);
  glMaterialfv(GL_FRONT, GL_EMISSION, m.emissive);
  glMaterialf(GL_FRONT, GL_SHININESS, m.shininess);
}

void MeshModel::Clear() {
  // Swapping with empty vectors gives the memory back, not just the counts.
  std::vector<ModelGroup>().swap(groups);
  std::vector<ModelMaterial>().swap(materials);
  std::vector<ModelTriangle>().swap(triangles);
  std::vector<ModelVertex>().swap(vertices);
  if (list_ != 0) glDeleteLists(list_, 1);
  list_ = 0;
}

void MeshModel::CreateMaterialTextures(FlightHost& host) {
  for (ModelMaterial& m : materials) {
    const std::string& name = m.texture_file_name;
    m.texture = name.empty() || IsRefusedTextureName(name) ? 0 : LoadMaterialTexture(host, name);
  }
}

void MeshModel::DeleteGlObjects() {
  for (ModelMaterial& m : materials) {
    if (m.texture != 0) glDeleteTextures(1, &m.texture);
    m.texture = 0;
  }
  if (list_ != 0) glDeleteLists(list_, 1);
  list_ = 0;
}

void MeshModel::Draw() { DrawKeepingTexturing(false); }

void MeshModel::DrawListed() { DrawKeepingTexturing(true); }

// The texturing switch is read and set back outside the list: a query made
// while recording would be answered once, for every later frame.
void MeshModel::DrawKeepingTexturing(bool listed) {
  if (groups.empty()) return;  // nothing to draw, so leave GL untouched
  const bool was_texturing = glIsEnabled(GL_TEXTURE_2D) != GL_FALSE;
  if (listed && list_ == 0 && (list_ = glGenLists(1)) != 0) {
    glNewList(list_, GL_COMPILE);
    DrawGroups();
    glEndList();
  }
  if (listed && list_ != 0)
    glCallList(list_);
  else
    DrawGroups();
  if (was_texturing)
    glEnable(GL_TEXTURE_2D);
  else
    glDisable(GL_TEXTURE_2D);
}

void MeshModel::DrawGroups() {
  for (const ModelGroup& group : groups) {
    if (group.material_index >= 0) {
      const ModelMaterial& m = materials[static_cast<size_t>(group.material_index)];
      ApplyMaterial(m);
      if (m.texture != 0) {
        glBindTexture(GL_TEXTURE_2D, m.texture);
        glEnable(GL_TEXTURE_2D);
      } else {
        glDisable(GL_TEXTURE_2D);
      }
    } else {
      // No material: the previous group's colours stay in effect.
      glDisable(GL_TEXTURE_2D);
    }

    glBegin(GL_TRIANGLES);
    for (int triangle_index : group.triangle_indices) {
      const ModelTriangle& tri = triangles[static_cast<size_t>(triangle_index)];
      for (int corner = 0; corner < 3; ++corner) {
        glNormal3fv(tri.vertex_normals[corner]);
        glTexCoord2f(tri.s[corner], tri.t[corner]);
        glVertex3fv(vertices[static_cast<size_t>(tri.vertex_indices[corner])].position);
      }
    }
    glEnd();
  }
}

bool Ms3dModel::Load(FlightHost& host) {
  Clear();
  std::vector<unsigned char> bytes;
  const char* path = host.ModelPath();
  if (ReadFileBytes(path ? host.OpenForReading(path) : nullptr, bytes) != FileRead::kRead) return false;
  if (!Parse(bytes.data(), bytes.size())) return false;
  CreateMaterialTextures(host);
  return true;
}
