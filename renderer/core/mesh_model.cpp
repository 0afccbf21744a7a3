#include "mesh_model.h"

#include <cstdint>
#include <fstream>
#include <new>
#include <vector>

#include "textures.h"

// Sets the front material from m; shininess last.
static void ApplyMaterial(const ModelMaterial& m) {
  glMaterialfv(GL_FRONT, GL_AMBIENT, m.ambient);
  glMaterialfv(GL_FRONT, GL_DIFFUSE, m.diffuse);
  glMaterialfv(GL_FRONT, GL_SPECULAR, m.specular);
  glMaterialfv(GL_FRONT, GL_EMISSION, m.emissive);
  glMaterialf(GL_FRONT, GL_SHININESS, m.shininess);
}

// Reads a whole file in binary mode; false if it cannot be opened or read.
static bool ReadWholeFile(const char* file_name, std::vector<unsigned char>& bytes) {
  std::ifstream file(file_name, std::ios::in | std::ios::binary);  // never creates
  if (!file) return false;
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  // A size the address space cannot hold (files of 4 GB and more on 32-bit).
  if (size < 0 || static_cast<unsigned long long>(size) > SIZE_MAX) return false;
  file.seekg(0, std::ios::beg);
  try {
    bytes.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    return false;  // too big to hold: refused like any unreadable file
  }
  if (size > 0) file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

void MeshModel::Clear() {
  // Swapping with empty vectors gives the memory back, not just the counts.
  std::vector<ModelGroup>().swap(groups);
  std::vector<ModelMaterial>().swap(materials);
  std::vector<ModelTriangle>().swap(triangles);
  std::vector<ModelVertex>().swap(vertices);
}

void MeshModel::CreateMaterialTextures() {
  for (ModelMaterial& m : materials)
    m.texture = m.texture_file_name.empty() ? 0 : LoadTextureFile(m.texture_file_name.c_str());
}

void MeshModel::Draw() {
  if (groups.empty()) return;  // nothing to draw, so leave GL untouched
  const bool was_texturing = glIsEnabled(GL_TEXTURE_2D) != GL_FALSE;

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

  if (was_texturing)
    glEnable(GL_TEXTURE_2D);
  else
    glDisable(GL_TEXTURE_2D);
}

bool Ms3dModel::Load(const char* file_name) {
  Clear();
  std::vector<unsigned char> bytes;
  if (!file_name || !ReadWholeFile(file_name, bytes)) return false;
  if (!Parse(bytes.data(), bytes.size())) return false;
  CreateMaterialTextures();
  return true;
}
