#include "recipes.h"

static SvgCut box(const char* path, float x, float y, float w, float h) {
    SvgCut c;
    c.path = path;
    c.box[0] = x, c.box[1] = y, c.box[2] = w, c.box[3] = h;
    return c;
}

static SvgCut element(const char* path, const char* id) {
    SvgCut c;
    c.path = path;
    c.element = id;
    return c;
}

static SvgCut keep(const char* path, int from, int to, float x, float y, float w, float h) {
    SvgCut c = box(path, x, y, w, h);
    c.keepFrom = from, c.keepTo = to;
    return c;
}

static Recipe art(const char* name, int size, int shown, Accent accent, SvgCut svg, Holes holes = Holes::FillSmall,
                  Drawer draw = nullptr) {
    return Recipe{name, Kind::CutOut, holes, size, shown, accent, svg, draw};
}

static Recipe drawn(const char* name, int size, int shown, Accent accent, Drawer draw, Holes holes = Holes::FillSmall) {
    return Recipe{name, Kind::CutOut, holes, size, shown, accent, SvgCut(), draw};
}

static Recipe whole(const char* name, int size, int shown, Accent accent, Drawer draw, SvgCut svg = SvgCut()) {
    return Recipe{name, Kind::Whole, Holes::Keep, size, shown, accent, svg, draw};
}

static Recipe repeats(Recipe r) {
    r.kind = Kind::Repeats;
    return r;
}

static Recipe asDrawn(Recipe r) {
    r.kind = Kind::AsDrawn;
    return r;
}

static const char kPlace[] = "food/come_si_dispongono_le_p_01.svg";

static std::vector<Recipe> makeRecipes() {
    const Holes open = Holes::Keep, solid = Holes::FillAll;
    return {
        whole("paper", 1024, 1500, Accent::None, drawPaper),
        repeats(whole("pattern3", 512, 512, Accent::None, tileBase, box("special/patterns/pattern-circles-1.svg", 0, 0, 100, 100))),
        repeats(whole("pattern4", 512, 512, Accent::None, tileBase, box("special/patterns/pattern-diamond-harlequin-1.svg", 0, 0, 200, 200))),
        repeats(whole("patternr", 512, 512, Accent::None, tileBase, box("decorations/motivo_geometrico_archit_01.svg", -5.9f, -6.1f, 282.4f, 284.9f))),
        asDrawn(whole("torvanel_loader", 1280, 1000, Accent::None, composeLoader)),
        art("logo", 512, 192, Accent::None, box("geography/mountain_seal_mitchell_j_.svg", 125.8f, 350.2f, 405.7f, 363.4f), solid),
        drawn("footsceleton", 768, 672, Accent::None, drawFootSkeleton, open),
        drawn("digestive", 1024, 1460, Accent::Crimson, drawDigestive, solid),
        drawn("tanalia", 896, 900, Accent::None, drawPincers, Holes::Keep),
        art("pin", 256, 120, Accent::Crimson, box("office/pin_-red_nicu_buculei_01.svg", 14.0f, 0.9f, 70.8f, 101.0f)),
        art("bee", 256, 150, Accent::Ochre, box("animals/bugs/abeille_tanguy_jacq_01.svg", 55.4f, 161.0f, 399.2f, 276.1f)),
        drawn("vice", 512, 350, Accent::None, drawVice, solid),
        art("star", 256, 30, Accent::Ochre, box("shapes/stars/star.svg", -0.1f, 9.3f, 509.0f, 478.7f)),
        art("planet1", 384, 80, Accent::Orange, box("geography/astronomy/jupiter_dan_gerhards_01.svg", 190.4f, 115.3f, 424.9f, 407.4f)),
        art("planet2", 384, 50, Accent::Terracotta, box("geography/astronomy/mars_dan_gerhards_01.svg", 73.0f, 197.3f, 601.0f, 600.8f)),
        art("planet3", 384, 150, Accent::Ochre, box("geography/astronomy/saturn_dan_gerhards_01.svg", 243.9f, 257.0f, 411.6f, 254.9f)),
        art("planet4", 384, 40, Accent::Ochre, box("science/astronomy/venus_dan_gerhards_01.svg", 47.8f, 38.7f, 640.2f, 638.4f)),
        art("greekback", 768, 1550, Accent::None, box("buildings/capitello_modanatura_mo_01.svg", -6.0f, -6.2f, 289.4f, 265.9f), open, composeColonnade),
        art("greekback3", 1024, 1140, Accent::None, box("recreation/religion/daedalus_and_ikarus_pete_01.svg", 22.5f, 34.3f, 716.5f, 928.5f),
            solid),
        whole("backanimals", 1536, 2180, Accent::None, composeAnimals, box("unsorted/striscia_mucche.svg", -8.5f, -9.2f, 434.4f, 80.1f)),
        drawn("skullblood", 768, 470, Accent::Crimson, bloodSkull),
        drawn("skullcrack3", 768, 470, Accent::None, crackSkull),
        drawn("skullcrack3front", 768, 470, Accent::None, skullFront),
        drawn("skullcrack3back", 768, 470, Accent::None, skullBack),
        whole("stage", 2048, 2900, Accent::Crimson, drawStage),
        art("balloon2", 512, 360, Accent::Vermilion, box("transportation/pallone_aerestatico_arch_01.svg", -6.0f, -5.8f, 210.3f, 278.6f)),
        whole("Mcave1", 2048, 1690, Accent::None, drawGrotto),
        drawn("Mcave2", 2000, 1700, Accent::None, drawGrottoMouth, Holes::Keep),
        art("car4", 768, 300, Accent::None, box("transportation/old_car_lumen_design_st_r.svg", 47.8f, 153.8f, 957.0f, 468.2f)),
        drawn("tap", 768, 760, Accent::Ochre, drawTap),
        drawn("wings", 1536, 4000, Accent::None, composeWings, Holes::FillAll),
        drawn("golg", 1024, 2100, Accent::Ochre, drawSun),
        art("backcloud3", 1536, 2210, Accent::Slate, box("signs_and_symbols/clouds_jon_phillips_03.svg", 395.3f, 500.1f, 313.2f, 237.9f)),
        drawn("backcloud4", 1536, 2020, Accent::None, drawCloudBank),
        drawn("helmet", 768, 970, Accent::Crimson, drawHelmet),
        drawn("water", 2016, 7160, Accent::Teal, drawRipples),
        art("ulv", 384, 300, Accent::None, box("animals/mammals/stylized_wolf_head_geral_01.svg", -8.4f, -8.1f, 290.6f, 392.5f)),
        drawn("ropeall", 768, 600, Accent::Ochre, drawRopeKnot, open),
        whole("emptyroom", 2048, 2220, Accent::None, drawEmptyRoom),
        drawn("ear", 512, 400, Accent::Crimson, drawMusclesBack),
        whole("cave", 2048, 4120, Accent::None, drawCave),
        art("umbrella", 512, 420, Accent::Vermilion, box("tools/umbrella.svg", -1.4f, 2.3f, 103.2f, 97.1f)),
        drawn("tsekouri", 768, 750, Accent::None, drawAxe),
        drawn("moona", 2016, 7690, Accent::Slate, drawMoonPhases),
        art("fore1", 768, 770, Accent::None, box("plants/bamboo_danny_allen_r.svg", -231.5f, -22.5f, 1108.1f, 1069.0f), open),
        art("fore2", 512, 490, Accent::Sage, box("plants/trees/fern_mo_01.svg", 75.2f, 90.3f, 600.2f, 868.7f), open),
        art("tree1", 768, 870, Accent::Orange, box("plants/fall_coloured_tree_geral_01.svg", -12.4f, -12.4f, 470.0f, 597.4f)),
        art("tree2", 768, 870, Accent::None, element("signs_and_symbols/map_symbols/tree_-_rpg_map_elements_11.svg", "path1621"), open),
        art("tree3", 768, 800, Accent::Sage, box("plants/trees/evergreen/tree_02.svg", 58.1f, 1.2f, 324.0f, 1016.9f)),
        drawn("nail", 384, 200, Accent::None, drawNail),
        art("otherhorse", 1024, 2660, Accent::None, box("animals/mammals/horses/cavallo_architetto_franc_06.svg", -9.3f, -9.0f, 297.5f, 434.8f)),
        art("tear", 256, 80, Accent::None, box("signs_and_symbols/weather/drop_peterm_01.svg", 44.0f, 48.7f, 110.5f, 329.2f)),
        art("tooth1", 256, 150, Accent::Crimson, box("people/bodypart/dente_architetto_frances_01.svg", -8.6f, -8.7f, 416.3f, 420.9f)),
        art("viola", 768, 550, Accent::None, element("recreation/music/violin_mo_01.svg", "path1386"), solid),
        drawn("kourtina", 1024, 1640, Accent::Crimson, drawCurtain),
        drawn("kourtina2", 1024, 1230, Accent::Crimson, drawDrape),
        art("tooth2", 512, 300, Accent::None, box("people/bodypart/mouth_-_body_part_nicu_b_03.svg", 0.4f, 52.8f, 127.2f, 53.8f)),
        drawn("tooth3", 256, 150, Accent::None, drawPremolar),
        drawn("tooth4", 256, 120, Accent::None, drawMolar),
        drawn("tooth5", 256, 150, Accent::None, drawIncisor),
        drawn("tooth6", 256, 150, Accent::None, drawCanine),
        drawn("sea1", 1024, 880, Accent::Slate, drawSwell),
        drawn("sea2", 1024, 870, Accent::Slate, drawChop),
        art("frame_1", 1536, 2170, Accent::Ochre, SvgCut(), open, composeFrame),
        art("tv", 1024, 2940, Accent::None, box("buildings/furniture/television_peterm_.svg", 77.0f, 37.0f, 606.5f, 556.3f), open, openScreen),
        art("saw", 768, 790, Accent::None, box("tools/utensile_sega_architetto_01.svg", -9.0f, -8.8f, 400.1f, 425.8f), open),
        repeats(whole("otherback_tile", 2048, 2770, Accent::None, tileWall, box("special/patterns/pattern-squares-and-octagons-1.svg", 0, 0, 100, 100))),
        repeats(whole("backtile1", 1024, 1540, Accent::Terracotta, tileBase, box("special/patterns/pattern-parquet-2.svg", 0, 0, 80, 80))),
        art("moon", 512, 750, Accent::None, box("science/astronomy/full_moon_dan_gerhards_01.svg", 54.0f, 43.1f, 714.1f, 706.4f)),
        drawn("handother", 1024, 2540, Accent::None, drawHand, solid),
        art("angel", 768, 1190, Accent::None, box("people/fata_fatina_architetto_f_01.svg", -6.0f, -5.8f, 167.4f, 281.0f), solid, composeAngel),
        art("bird", 1152, 1660, Accent::None, box("animals/birds/uccello_profilo_01_archi_01.svg", -8.9f, -9.0f, 428.7f, 278.0f), Holes::FillSmall,
            onScreenSheet),
        art("hammer", 512, 570, Accent::None, box("tools/blacksmith_hammer_ganson.svg", -7.1f, -7.0f, 196.0f, 337.5f)),
        drawn("ribcage", 768, 510, Accent::None, drawRibcage, open),
        drawn("skull", 1024, 1040, Accent::None, drawSkull),
        drawn("ribcageb", 768, 640, Accent::None, drawRibcageBack, open),
        drawn("ribcagef", 768, 640, Accent::None, drawRibcageFront, open),
        drawn("type", 1536, 1080, Accent::None, drawTypeForme, Holes::FillAll),
        art("horse", 512, 400, Accent::None, box("animals/mammals/horses/cavallo_architetto_franc_02.svg", -9.2f, -9.1f, 433.1f, 371.9f)),
        art("fishmore2", 512, 210, Accent::None, box("animals/fish/arctic_greyling_ganson.svg", -12.5f, -12.2f, 447.0f, 588.7f)),
        drawn("fishskeleton", 768, 560, Accent::None, drawFishSkeleton, open),
        drawn("skeletoncrawling", 640, 340, Accent::None, drawSkeletonCrawling, open),
        art("fruit1", 256, 75, Accent::Crimson, box("food/fruit/an_apple_01.svg", 10.3f, 7.2f, 185.3f, 193.8f)),
        art("fruit2", 256, 75, Accent::Ochre, box("food/fruit/pear.svg", 58.9f, -0.1f, 390.3f, 494.1f)),
        art("fruit3", 256, 75, Accent::Crimson, box("food/fruit/cherries.svg", 36.1f, 10.3f, 404.8f, 455.1f), solid),
        art("fruit4", 256, 76, Accent::Plum, box("food/fruit/grape_01.svg", 2.2f, 46.8f, 394.3f, 398.5f)),
        art("fruit5", 256, 97, Accent::Ochre, box("food/fruit/banana.svg", 15.9f, 54.0f, 454.7f, 342.0f)),
        art("fruit6", 256, 89, Accent::Ochre, box("food/fruit/lemon_whole_ganson.svg", -10.0f, -9.8f, 481.2f, 396.9f)),
        art("fruit7", 256, 205, Accent::Orange, box("food/fruit/orange.svg", 10.7f, 15.6f, 493.5f, 485.6f)),
        art("fruit8", 256, 261, Accent::Crimson, box("food/fruit/strawberry.svg", 35.5f, -5.1f, 453.2f, 490.4f)),
        art("fruit9", 256, 75, Accent::Ochre, box("food/fruit/pineapple.svg", 79.3f, 2.7f, 415.4f, 489.6f)),
        drawn("rope1", 768, 1060, Accent::Ochre, drawHangingKnot, open),
        drawn("rope2", 768, 1070, Accent::Ochre, drawLoopKnot, open),
        art("knife2", 768, 670, Accent::None, keep(kPlace, 381, 489, 202.7f, 74.3f, 16.9f, 121.1f)),
        art("spoon", 768, 990, Accent::None, keep(kPlace, 249, 379, 216.9f, 92.6f, 24.9f, 96.2f)),
        art("fork", 768, 400, Accent::None, keep(kPlace, 39, 75, 19.9f, 78.1f, 22.6f, 108.3f)),
        drawn("crab", 512, 540, Accent::Crimson, drawCrab, open),
        drawn("cloud1", 384, 200, Accent::None, drawCloud1),
        drawn("cloud2", 384, 170, Accent::None, drawCloud2),
        drawn("cloud3", 384, 140, Accent::None, drawCloud3),
        drawn("cloud4", 384, 160, Accent::None, drawCloud4),
    };
}

const std::vector<Recipe>& recipes() {
    static const std::vector<Recipe> table = makeRecipes();
    return table;
}

const Recipe* findRecipe(const std::string& name) {
    for (const Recipe& r : recipes())
        if (r.name == name) return &r;
    return nullptr;
}
