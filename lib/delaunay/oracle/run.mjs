// Triangulates every point set of a JSON file with the reference library.
//   node run.mjs in.json out.json
// in.json: [[x0, y0, x1, y1, ...], ...]; out.json: [{triangles, halfedges, hull}, ...]
import { readFileSync, writeFileSync } from 'node:fs';
import Delaunator from 'delaunator';

const sets = JSON.parse(readFileSync(process.argv[2], 'utf8'));
const results = sets.map((coords) => {
  const d = new Delaunator(Float64Array.from(coords));
  return {
    triangles: Array.from(d.triangles),
    halfedges: Array.from(d.halfedges),
    hull: Array.from(d.hull),
  };
});
writeFileSync(process.argv[3], JSON.stringify(results));
