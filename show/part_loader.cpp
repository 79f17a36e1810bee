#include "show/part_loader.h"

#include <GL/glew.h>
#include <GL/glu.h>


static const char* const DATA_DIR = "Resources//";

Part_Loader::~Part_Loader() = default;

void Part_Loader::init() {
    loadTexture(picture, std::string(DATA_DIR) + "demoresources//torvanel_loader.png", false, false);
}

void Part_Loader::draw() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glUseProgram(0);
    glViewport(0, 0, app->width, app->height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    // A square field of view whatever the window's shape: the picture stretches.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(55, 1.0, 0.01, 700);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 0, 2.5, 0, 0, 0, 0, -1, 0);
    glTranslatef(0, 0.3f, 0);

    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, picture.id);  // 0 when unloaded: a white quad
    if (picture.loaded) glEnable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glColor3f(1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(1, 0); glVertex3f(-1, -1, 0);
    glTexCoord2f(0, 0); glVertex3f(1, -1, 0);
    glTexCoord2f(0, 1); glVertex3f(1, 1, 0);
    glTexCoord2f(1, 1); glVertex3f(-1, 1, 0);
    glEnd();
    glPopMatrix();
}
