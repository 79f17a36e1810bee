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

static Recipe art(const char* name, int size, SvgCut svg, Holes holes = Holes::FillSmall, Drawer draw = nullptr) {
    return Recipe{name, Kind::CutOut, holes, size, svg, draw};
}

static Recipe drawn(const char* name, int size, Drawer draw, Holes holes = Holes::FillSmall) {
    return Recipe{name, Kind::CutOut, holes, size, SvgCut(), draw};
}

static Recipe whole(const char* name, int size, Drawer draw, SvgCut svg = SvgCut()) {
    return Recipe{name, Kind::Whole, Holes::Keep, size, svg, draw};
}

static const char kSkull[] = "signs_and_symbols/skull-and-bones-aj_aj_as_01.svg";
static const char kPlace[] = "food/come_si_dispongono_le_p_01.svg";

static std::vector<Recipe> makeRecipes() {
    const Holes open = Holes::Keep, solid = Holes::FillAll;
    return {
        whole("paper", 1024, drawPaper),
        whole("pattern3", 512, tileBase, box("special/patterns/pattern-circles-1.svg", 0, 0, 100, 100)),
        whole("pattern4", 512, tileBase, box("special/patterns/pattern-diamond-harlequin-1.svg", 0, 0, 200, 200)),
        whole("patternr", 512, tileBase, box("decorations/motivo_geometrico_archit_01.svg", -5.9f, -6.1f, 282.4f, 284.9f)),
        whole("torvanel_loader", 1024, composeLoader, box("geography/mountain_seal_mitchell_j_.svg", 125.8f, 350.2f, 405.7f, 363.4f)),
        art("logo", 512, box("geography/mountain_seal_mitchell_j_.svg", 125.8f, 350.2f, 405.7f, 363.4f), solid),
        drawn("footsceleton", 512, drawFootSkeleton, open),
        drawn("digestive", 512, drawDigestive),
        art("tanalia", 640, box("animals/mammals/horses/mechorse.svg", 132.7f, 333.5f, 527.1f, 327.5f)),
        art("pin", 256, box("office/pin_-red_nicu_buculei_01.svg", 14.0f, 0.9f, 70.8f, 101.0f)),
        art("bee", 256, box("animals/bugs/abeille_tanguy_jacq_01.svg", 55.4f, 161.0f, 399.2f, 276.1f)),
        drawn("vice", 512, drawVice),
        art("star", 256, box("shapes/stars/star.svg", -0.1f, 9.3f, 509.0f, 478.7f)),
        art("planet1", 384, box("geography/astronomy/jupiter_dan_gerhards_01.svg", 190.4f, 115.3f, 424.9f, 407.4f)),
        art("planet2", 384, box("geography/astronomy/mars_dan_gerhards_01.svg", 73.0f, 197.3f, 601.0f, 600.8f)),
        art("planet3", 384, box("geography/astronomy/saturn_dan_gerhards_01.svg", 243.9f, 257.0f, 411.6f, 254.9f)),
        art("planet4", 384, box("science/astronomy/venus_dan_gerhards_01.svg", 47.8f, 38.7f, 640.2f, 638.4f)),
        art("greekback", 400, box("buildings/capitello_modanatura_mo_01.svg", -6.0f, -6.2f, 289.4f, 265.9f), open, composeColonnade),
        art("greekback3", 1024, box("recreation/religion/daedalus_and_ikarus_pete_01.svg", 22.5f, 34.3f, 716.5f, 928.5f)),
        whole("backanimals", 1536, composeAnimals, box("unsorted/striscia_mucche.svg", -8.5f, -9.2f, 434.4f, 80.1f)),
        art("skullblood", 512, element(kSkull, "g1757"), Holes::FillSmall, bloodSkull),
        art("skullcrack3", 512, element(kSkull, "g1757"), Holes::FillSmall, crackSkull),
        art("skullcrack3front", 512, element(kSkull, "g1757"), Holes::FillSmall, skullFront),
        art("skullcrack3back", 512, element(kSkull, "g1757"), Holes::FillSmall, skullBack),
        whole("stage", 1536, drawStage),
        art("balloon2", 384, box("transportation/pallone_aerestatico_arch_01.svg", -6.0f, -5.8f, 210.3f, 278.6f)),
        whole("Mcave1", 1536, drawCave),
        whole("Mcave2", 1536, drawCave),
        art("car4", 768, box("transportation/old_car_lumen_design_st_r.svg", 47.8f, 153.8f, 957.0f, 468.2f)),
        drawn("tap", 512, drawTap),
        drawn("wings", 768, composeWings, Holes::FillAll),
        art("golg", 512, box("geography/eclipse_josu_alcalde_go_01r.svg", 25.3f, 34.9f, 575.0f, 571.6f)),
        art("backcloud3", 1024, box("signs_and_symbols/clouds_jon_phillips_03.svg", 395.3f, 500.1f, 313.2f, 237.9f)),
        art("backcloud4", 1024, box("signs_and_symbols/clouds_jon_phillips_01.svg", 116.0f, 198.5f, 313.2f, 202.5f)),
        drawn("helmet", 512, drawHelmet),
        drawn("water", 1024, drawWater),
        art("ulv", 384, box("animals/mammals/stylized_wolf_head_geral_01.svg", -8.4f, -8.1f, 290.6f, 392.5f)),
        art("ropeall", 768, box("transportation/boating/knot_figure_eight.svg", -10.2f, -10.4f, 493.8f, 366.3f), open),
        whole("emptyroom", 1536, drawEmptyRoom),
        art("ear", 384, box("people/bodypart/ear_-_body_part_nicu_buc_01.svg", 16.1f, 2.1f, 76.0f, 123.2f)),
        whole("cave", 1536, drawCave),
        art("umbrella", 384, box("tools/umbrella.svg", -1.4f, 2.3f, 103.2f, 97.1f)),
        art("tsekouri", 384, box("tools/axe_peterm_.svg", 31.3f, 12.0f, 617.9f, 331.0f)),
        art("moona", 1024, box("geography/astronomy/00_moonphases_openclipa_01.svg", -7.8f, -17.0f, 2982.6f, 436.8f)),
        art("fore1", 768, box("plants/bamboo_danny_allen_r.svg", -231.5f, -22.5f, 1108.1f, 1069.0f), open),
        art("fore2", 512, box("plants/trees/fern_mo_01.svg", 75.2f, 90.3f, 600.2f, 868.7f), open),
        art("tree1", 768, box("plants/fall_coloured_tree_geral_01.svg", -12.4f, -12.4f, 470.0f, 597.4f)),
        art("tree2", 512, element("signs_and_symbols/map_symbols/tree_-_rpg_map_elements_11.svg", "path1621"), open),
        art("tree3", 512, box("plants/trees/evergreen/tree_02.svg", 58.1f, 1.2f, 324.0f, 1016.9f)),
        drawn("nail", 384, drawNail),
        art("otherhorse", 512, box("animals/mammals/horses/cavallo_architetto_franc_06.svg", -9.3f, -9.0f, 297.5f, 434.8f)),
        art("tear", 256, box("signs_and_symbols/weather/drop_peterm_01.svg", 44.0f, 48.7f, 110.5f, 329.2f)),
        art("tooth1", 256, box("people/bodypart/dente_architetto_frances_01.svg", -8.6f, -8.7f, 416.3f, 420.9f)),
        art("viola", 768, element("recreation/music/violin_mo_01.svg", "path1386"), solid),
        drawn("kourtina", 1024, drawCurtain),
        drawn("kourtina2", 1024, drawDrape),
        art("tooth2", 512, box("people/bodypart/mouth_-_body_part_nicu_b_03.svg", 0.4f, 52.8f, 127.2f, 53.8f)),
        art("tooth3", 512, box("people/bodypart/mouth_-_body_part_nicu_b_02.svg", 0.3f, 38.7f, 126.3f, 54.7f)),
        drawn("tooth4", 256, drawMolar),
        drawn("tooth5", 256, drawIncisor),
        drawn("tooth6", 256, drawCanine),
        drawn("sea1", 1024, drawSea),
        drawn("sea2", 1024, drawSea),
        art("frame_1", 1024, SvgCut(), open, composeFrame),
        art("tv", 384, box("buildings/furniture/television_peterm_.svg", 77.0f, 37.0f, 606.5f, 556.3f), open, openScreen),
        art("saw", 384, box("tools/utensile_sega_architetto_01.svg", -9.0f, -8.8f, 400.1f, 425.8f)),
        whole("otherback_tile", 1024, tileBase, box("special/patterns/pattern-squares-and-octagons-1.svg", 0, 0, 100, 100)),
        whole("backtile1", 1024, tileBase, box("special/patterns/pattern-parquet-2.svg", 0, 0, 80, 80)),
        art("moon", 512, box("science/astronomy/full_moon_dan_gerhards_01.svg", 54.0f, 43.1f, 714.1f, 706.4f)),
        art("handother", 512, box("unsorted/paper_RPSWB.svg", -9.0f, -9.1f, 434.9f, 212.8f), solid),
        art("angel", 400, box("people/fata_fatina_architetto_f_01.svg", -6.0f, -5.8f, 167.4f, 281.0f), solid, composeAngel),
        art("bird", 384, box("animals/birds/uccello_profilo_01_archi_01.svg", -8.9f, -9.0f, 428.7f, 278.0f)),
        art("hammer", 384, box("tools/blacksmith_hammer_ganson.svg", -7.1f, -7.0f, 196.0f, 337.5f)),
        drawn("ribcage", 512, drawRibcage, open),
        art("skull", 512, element(kSkull, "g1757")),
        drawn("ribcageb", 512, drawRibcageBack, open),
        drawn("ribcagef", 512, drawRibcageFront, open),
        art("type", 512, box("education/books/open_book_01.svg", 14.2f, -2.2f, 331.6f, 364.4f), solid),
        art("horse", 512, box("animals/mammals/horses/cavallo_architetto_franc_02.svg", -9.2f, -9.1f, 433.1f, 371.9f)),
        art("fishmore2", 512, box("animals/fish/arctic_greyling_ganson.svg", -12.5f, -12.2f, 447.0f, 588.7f)),
        drawn("fishskeleton", 512, drawFishSkeleton, open),
        drawn("skeletoncrawling", 640, drawSkeletonCrawling, open),
        art("fruit1", 256, box("food/fruit/an_apple_01.svg", 10.3f, 7.2f, 185.3f, 193.8f)),
        art("fruit2", 256, box("food/fruit/pear.svg", 58.9f, -0.1f, 390.3f, 494.1f)),
        art("fruit3", 256, box("food/fruit/cherries.svg", 36.1f, 10.3f, 404.8f, 455.1f)),
        art("fruit4", 256, box("food/fruit/grape_01.svg", 2.2f, 46.8f, 394.3f, 398.5f)),
        art("fruit5", 256, box("food/fruit/banana.svg", 15.9f, 54.0f, 454.7f, 342.0f)),
        art("fruit6", 256, box("food/fruit/lemon_whole_ganson.svg", -10.0f, -9.8f, 481.2f, 396.9f)),
        art("fruit7", 256, box("food/fruit/orange.svg", 10.7f, 15.6f, 493.5f, 485.6f)),
        art("fruit8", 256, box("food/fruit/strawberry.svg", 35.5f, -5.1f, 453.2f, 490.4f)),
        art("fruit9", 256, box("food/fruit/pineapple.svg", 79.3f, 2.7f, 415.4f, 489.6f)),
        art("rope1", 512, box("transportation/boating/knot_figure_eight.svg", -7.1f, 2.8f, 155.9f, 350.0f), open),
        art("rope2", 512, box("transportation/boating/knot_bowline.svg", -6.3f, -6.1f, 149.8f, 298.7f), open),
        art("knife2", 384, keep(kPlace, 381, 489, 202.7f, 74.3f, 16.9f, 121.1f)),
        art("spoon", 384, keep(kPlace, 249, 379, 216.9f, 92.6f, 24.9f, 96.2f)),
        art("fork", 384, keep(kPlace, 39, 75, 19.9f, 78.1f, 22.6f, 108.3f)),
        drawn("crab", 512, drawCrab),
        art("cloud1", 384, box("signs_and_symbols/weather/w_cloud.svg", 0.2f, 23.2f, 101.1f, 53.4f)),
        art("cloud2", 384, box("signs_and_symbols/weather/cloud.svg", 3.8f, 14.8f, 497.1f, 374.1f)),
        art("cloud3", 384, box("signs_and_symbols/cloud_jon_phillips_01.svg", 197.5f, 174.2f, 313.6f, 270.6f)),
        art("cloud4", 384, element("signs_and_symbols/nuage_guillaume_boitel_.svg", "path4006"), solid),
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
